#pragma once

#include <QFont>
#include <QString>

#include "kalvitra/ui/controls.h"

// The window asks for the fonts of its design: "幼圆" for the title, "MS
// Sans Serif" for the job labels and the dialog font for everything else.
// Where those faces are missing (everywhere but a Chinese Windows), each is
// mapped to an installed Simplified-Chinese face. Left to itself, the toolkit
// draws Chinese in whatever CJK face it finds first, often the Japanese one,
// whose glyph forms differ.

namespace kalvitra::ui {

// The installed Simplified-Chinese face that stands in for missing faces, or
// an empty string when none is installed.
QString simplifiedChineseFace();

// Maps the faces of the design, and the toolkit's default face, to
// simplifiedChineseFace(). Safe to call more than once.
void installFontSubstitutions();

// The font a control of the given look asks for, sized in points.
QFont fontFor(Look look);

// The same font sized in pixels of the 96 dpi design, so that a painter that
// scales the design onto a page scales the text with it.
QFont designPixelFont(Look look);

}  // namespace kalvitra::ui

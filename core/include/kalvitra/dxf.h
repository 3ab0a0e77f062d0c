#pragma once

#include <string>

#include "kalvitra/section_drawing.h"
#include "kalvitra/workshop.h"

// Drawings for a CAD program: DXF R12 (AC1009) ASCII, in millimetres with y up,
// written by the program itself. A HEADER with $ACADVER, $EXTMIN and
// $EXTMAX, a LAYER table, then CIRCLE, closed POLYLINE (70 = 1, VERTEX ...
// SEQEND) and TEXT entities, and 0/EOF. Text beyond ASCII is written as
// \U+XXXX, which every reader of R12 understands.

namespace kalvitra::dxf {

// The section as drawn by writeSectionSvg, turned y up and centred on the
// limb axis: the circle of radius D/2, every packet a closed polyline of four
// vertices, and the labels.
std::string writeSectionDxf(const drawing::SectionDrawing& drawing);

// Every piece of the cut list drawn once in its true shape (pieceOutline),
// side by side without overlapping, each with a label naming its step, piece
// and lengths in the given language.
std::string writeCutListDxf(const workshop::CutList& list, drawing::Language language);

}  // namespace kalvitra::dxf

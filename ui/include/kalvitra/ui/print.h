#pragma once

#include <QPalette>
#include <QRectF>
#include <QString>
#include <array>
#include <optional>

#include "kalvitra/sheet/sheet.h"

class QPainter;
class QPagedPaintDevice;

// The printed window. The page is drawn from the control table as vector
// graphics (labels, field boxes with their texts, button faces), not copied
// from the screen: a copy at printer resolution costs hundreds of megabytes
// and seconds, and one at screen resolution prints soft. No caret, no focus
// frame: the page shows the sheet, not the editing state.

namespace kalvitra::ui {

// The text of every field, indexed by indexOf(Field).
using FieldTexts = std::array<QString, kFieldCount>;

// Paints the window's client area into target, scaled uniformly to fit and
// centred across it, top-aligned. Colours come from the palette (window,
// text-field and button colours) and from the control table (input fields,
// the title). A field shows the beginning of its text, clipped at its box.
void paintSheet(QPainter& painter, const QRectF& target, const FieldTexts& texts,
                const QPalette& palette);

// One page onto a printer or a PDF writer, fitted to its printable area.
// Returns what went wrong, or nothing when the page was printed.
std::optional<QString> printSheet(QPagedPaintDevice& device, const FieldTexts& texts,
                                  const QPalette& palette);

// The same onto the platform's default printer, without a dialog. Without a
// default printer the toolkit would quietly print into a nameless file that
// fails to open, so that case is reported instead.
std::optional<QString> printOnDefaultPrinter(const FieldTexts& texts, const QPalette& palette);

}  // namespace kalvitra::ui

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

#include "kalvitra/design/evaluation.h"
#include "kalvitra/designer/form.h"

class QPagedPaintDevice;

// The design on paper: two A4 pages. The first shows the section drawing,
// the results, the masses with their conventions and the loss; the second
// the stage table, the cut list and every input.

namespace kalvitra::designer {

struct Report {
    QString title;  // the design's name
    DesignTexts texts;
    const core_design::Design* design = nullptr;
};

// Paints the report onto the device, which is set to A4. Returns what went
// wrong, or nothing.
std::optional<QString> paintReport(QPagedPaintDevice& device, const Report& report);

// The report as a PDF document.
QByteArray reportPdf(const Report& report);

// Prints the report on the default printer, without a dialog. Returns what
// went wrong (no default printer among them), or nothing.
std::optional<QString> printReport(const Report& report);

}  // namespace kalvitra::designer

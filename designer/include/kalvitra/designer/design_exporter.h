#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string>

#include "kalvitra/designer/design_document.h"
#include "kalvitra/designer/report.h"

// What the designer writes of a document's design: its sheet, the section
// as SVG or DXF, the cut list as CSV or DXF, and the report as PDF or on
// paper. Only a whole design that is not out of date is written; every file
// goes through files.h, so a failed write leaves the old file whole.

namespace kalvitra::designer {

class DesignExporter {
public:
    explicit DesignExporter(const DesignDocument& document) : document_(document) {}

    // Each returns what went wrong, or nothing.
    std::optional<QString> exportSheet(const QString& path) const;
    std::optional<QString> exportSectionSvg(const QString& path) const;
    std::optional<QString> exportSectionDxf(const QString& path) const;
    std::optional<QString> exportCutListCsv(const QString& path) const;
    std::optional<QString> exportCutListDxf(const QString& path) const;
    std::optional<QString> exportReportPdf(const QString& path) const;
    // Prints the report on the default printer.
    std::optional<QString> print() const;

private:
    Report report() const;
    std::optional<QString> exportBytes(const QString& path, const QByteArray& bytes) const;
    std::optional<QString> exportText(const QString& path, const std::string& text) const;

    const DesignDocument& document_;
};

}  // namespace kalvitra::designer

#include "kalvitra/designer/design_exporter.h"

#include <QCoreApplication>

#include "kalvitra/designer/files.h"
#include "kalvitra/designer/language.h"
#include "kalvitra/drawing/dxf.h"
#include "kalvitra/sheet/sheet_text.h"
#include "kalvitra/text/utf8.h"

namespace kalvitra::designer {
namespace {

QString localised(const char* text) {
    return QCoreApplication::translate("kalvitra::designer::DesignExporter", text);
}

}  // namespace

Report DesignExporter::report() const {
    return {document_.name(), document_.texts(), document_.design()};
}

std::optional<QString> DesignExporter::exportBytes(const QString& path,
                                                   const QByteArray& bytes) const {
    if (document_.isOutOfDate() || document_.design() == nullptr) {
        return localised(QT_TRANSLATE_NOOP("kalvitra::designer::DesignExporter",
                                           "The design has a marked input; mend it first."));
    }
    return saveBytes(path, bytes);
}

std::optional<QString> DesignExporter::exportText(const QString& path,
                                                  const std::string& text) const {
    return exportBytes(path, QByteArray::fromStdString(text));
}

std::optional<QString> DesignExporter::exportSheet(const QString& path) const {
    std::string lines;
    if (const core_design::Design* design = document_.design()) {
        appendSheetLines(design->sheet, lines);
    }
    return exportText(path, lines);
}

std::optional<QString> DesignExporter::exportSectionSvg(const QString& path) const {
    const core_design::Design* design = document_.design();
    return exportText(path, design ? drawing::writeSectionSvg(design->section) : std::string());
}

std::optional<QString> DesignExporter::exportSectionDxf(const QString& path) const {
    const core_design::Design* design = document_.design();
    return exportText(path, design ? dxf::writeSectionDxf(design->section) : std::string());
}

std::optional<QString> DesignExporter::exportCutListCsv(const QString& path) const {
    const core_design::Design* design = document_.design();
    // In the window's language, as the table shows it: keys in English, as
    // the batch tool writes by default; Chinese with a byte order mark, so
    // that a spreadsheet on a Chinese desktop reads it as UTF-8.
    if (design == nullptr || currentLanguage() != drawing::Language::Chinese) {
        return exportText(path, design ? workshop::writeCutListCsv(design->cutList) : "");
    }
    return exportText(path,
                      std::string(kByteOrderMark) +
                          workshop::writeCutListCsv(design->cutList, workshop::CsvWords::Chinese));
}

std::optional<QString> DesignExporter::exportCutListDxf(const QString& path) const {
    const core_design::Design* design = document_.design();
    return exportText(path, design
                                ? dxf::writeCutListDxf(design->cutList, currentLanguage(),
                                                       design->section.titleBlock, design->joints)
                                : std::string());
}

std::optional<QString> DesignExporter::exportReportPdf(const QString& path) const {
    const QByteArray pdf = reportPdf(report());
    if (pdf.isEmpty()) {
        return localised(QT_TRANSLATE_NOOP("kalvitra::designer::DesignExporter",
                                           "The report could not be made."));
    }
    return exportBytes(path, pdf);
}

std::optional<QString> DesignExporter::print() const {
    return printReport(report());
}

}  // namespace kalvitra::designer

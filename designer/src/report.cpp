#include "kalvitra/designer/report.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>

#include "kalvitra/designer/presentation.h"
#include "kalvitra/designer/section_view.h"

namespace kalvitra::designer {
namespace {

QString localised(const char* text) {
    return QCoreApplication::translate("kalvitra::designer::Report", text);
}

// Lays out text down a page, one line or table at a time. Sizes are in
// points; unit is the device's units per point.
class Page {
public:
    Page(QPainter& painter, QRectF area, double unit)
        : painter_(painter), area_(area), unit_(unit), y_(area.top()) {}

    void heading(const QString& text, double size) {
        QFont font = painter_.font();
        font.setPointSizeF(size);
        font.setBold(true);
        painter_.setFont(font);
        y_ += size * 1.5 * unit_;
        painter_.drawText(QPointF(area_.left(), y_), text);
        y_ += size * 0.6 * unit_;
    }

    // Columns share the width in the given proportions; numbers after the
    // first column stand right-aligned.
    void table(const QStringList& header, const QList<QStringList>& rows,
               const QList<double>& shares, double size) {
        QFont font = painter_.font();
        font.setPointSizeF(size);
        font.setBold(false);
        const double line = size * 1.45 * unit_;
        double total = 0;
        for (double share : shares) {
            total += share;
        }
        const auto row = [&](const QStringList& cells, bool bold) {
            font.setBold(bold);
            painter_.setFont(font);
            y_ += line;
            double x = area_.left();
            for (qsizetype c = 0; c < cells.size() && c < shares.size(); ++c) {
                const double width = area_.width() * shares[c] / total;
                const QRectF cell(x + 2, y_ - line, width - 4, line);
                painter_.drawText(
                    cell, Qt::AlignVCenter | (c == 0 ? Qt::AlignLeft : Qt::AlignRight), cells[c]);
                x += width;
            }
        };
        if (!header.isEmpty()) {
            row(header, true);
            painter_.drawLine(QPointF(area_.left(), y_ + unit_),
                              QPointF(area_.right(), y_ + unit_));
            y_ += 2 * unit_;
        }
        for (const QStringList& cells : rows) {
            row(cells, false);
        }
        y_ += line * 0.5;
    }

    // A band across the page, for a picture, height a share of the page's.
    QRectF take(double share) {
        const double height = area_.height() * share;
        const QRectF taken(area_.left(), y_ + 4 * unit_, area_.width(), height);
        y_ += height + 8 * unit_;
        return taken;
    }

private:
    QPainter& painter_;
    QRectF area_;
    double unit_;
    double y_;
};

QList<QStringList> valueTable(const QList<ValueRow>& values, ValueGroup group) {
    QList<QStringList> rows;
    for (const ValueRow& value : values) {
        if (value.group == group) {
            rows.append({value.label, value.text});
        }
    }
    return rows;
}

// One group of the output values under its title.
void valueSection(Page& page, const QList<ValueRow>& values, ValueGroup group,
                  const QList<double>& shares) {
    page.heading(valueGroupTitle(group), 11);
    page.table({}, valueTable(values, group), shares, 9.5);
}

// The stage table and the cut list.
void paintTables(Page& page, const Report& report) {
    if (report.design == nullptr) {
        return;
    }
    page.heading(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report", "Stage table")), 11);
    page.table(stageTableHeader(), stageTableRows(*report.design), {1, 2, 2, 2, 2}, 8.5);
    page.heading(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report", "Cut list")), 11);
    page.table(cutListHeader(), cutListRows(*report.design),
               {0.8, 1.8, 1.2, 1.2, 1.2, 1, 1.2, 1, 1, 1.4}, 7.5);
}

// The rating, the no-load current and the verdicts, whose words are long,
// then every input typed.
void paintVerdictsAndInputs(Page& page, const QList<ValueRow>& values, const Report& report) {
    if (report.design != nullptr && report.design->turns) {
        valueSection(page, values, ValueGroup::Rating, {1, 3});
    }
    valueSection(page, values, ValueGroup::NoLoad, {1, 3});
    page.heading(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report", "Inputs")), 11);
    page.table({}, inputRowsOf(report.texts), {3, 4, 1}, 8.5);
}

}  // namespace

std::optional<QString> paintReport(QPagedPaintDevice& device, const Report& report) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        return localised(
            QT_TRANSLATE_NOOP("kalvitra::designer::Report", "The page could not be started."));
    }
    const double unit = device.logicalDpiY() / 72.0;
    const QRectF area(QPointF(0, 0),
                      device.pageLayout().paintRectPixels(device.logicalDpiY()).size());

    const QList<ValueRow> values = valueRows(report.design);
    {
        Page page(painter, area, unit);
        page.heading(
            localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report", "Core design")) +
                (report.title.isEmpty() ? QString() : QStringLiteral(" — ") + report.title),
            15);
        if (report.design != nullptr) {
            paintSection(painter, report.design->section, page.take(0.42));
        }
        for (const ValueGroup group :
             {ValueGroup::Results, ValueGroup::Conventions, ValueGroup::Loss}) {
            valueSection(page, values, group, {3, 2});
        }
        if (report.design != nullptr) {
            page.heading(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report", "Title block")),
                         11);
            page.table({}, titleBlockRows(*report.design), {1, 3}, 9.5);
        }
    }
    if (!device.newPage()) {
        return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report",
                                           "The second page could not be started."));
    }
    {
        Page page(painter, area, unit);
        paintTables(page, report);
    }
    if (!device.newPage()) {
        return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report",
                                           "The third page could not be started."));
    }
    {
        Page page(painter, area, unit);
        paintVerdictsAndInputs(page, values, report);
    }
    if (!painter.end()) {
        return localised(
            QT_TRANSLATE_NOOP("kalvitra::designer::Report", "The pages could not be finished."));
    }
    return std::nullopt;
}

QByteArray reportPdf(const Report& report) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setTitle(report.title);
        writer.setCreator(QStringLiteral("kalvitra-designer"));
        if (paintReport(writer, report)) {
            return {};
        }
    }
    return bytes;
}

std::optional<QString> printReport(const Report& report) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        return localised(
            QT_TRANSLATE_NOOP("kalvitra::designer::Report", "There is no default printer."));
    }
    QPrinter printer(info, QPrinter::HighResolution);
    printer.setDocName(report.title);
    return paintReport(printer, report);
}

}  // namespace kalvitra::designer

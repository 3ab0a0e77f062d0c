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

// Lays out text down a page in points, one line or table at a time.
class Page {
public:
    Page(QPainter& painter, QRectF area) : painter_(painter), area_(area), y_(area.top()) {}

    void heading(const QString& text, double size) {
        QFont font = painter_.font();
        font.setPointSizeF(size);
        font.setBold(true);
        painter_.setFont(font);
        y_ += size * 1.5;
        painter_.drawText(QPointF(area_.left(), y_), text);
        y_ += size * 0.6;
    }

    // Columns share the width in the given proportions; numbers after the
    // first column stand right-aligned.
    void table(const QStringList& header, const QList<QStringList>& rows,
               const QList<double>& shares, double size) {
        QFont font = painter_.font();
        font.setPointSizeF(size);
        const double line = size * 1.45;
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
            painter_.drawLine(QPointF(area_.left(), y_ + 1), QPointF(area_.right(), y_ + 1));
        }
        for (const QStringList& cells : rows) {
            row(cells, false);
        }
        y_ += line * 0.5;
    }

    // The rest of the page down to a height, for a picture.
    QRectF take(double height) {
        const QRectF taken(area_.left(), y_ + 4, area_.width(), height);
        y_ += height + 8;
        return taken;
    }

private:
    QPainter& painter_;
    QRectF area_;
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

}  // namespace

std::optional<QString> paintReport(QPagedPaintDevice& device, const Report& report) {
    device.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                     QMarginsF(18, 18, 18, 18), QPageLayout::Millimeter));
    QPainter painter;
    if (!painter.begin(&device)) {
        return localised(
            QT_TRANSLATE_NOOP("kalvitra::designer::Report", "The page could not be started."));
    }
    // Everything below is laid out in points of the page.
    const QRectF pageRect = device.pageLayout().paintRect(QPageLayout::Point);
    const double toDevice = device.logicalDpiX() / 72.0;
    painter.scale(toDevice, toDevice);
    const QRectF area(0, 0, pageRect.width(), pageRect.height());

    const QList<ValueRow> values = valueRows(report.design);
    {
        Page page(painter, area);
        page.heading(
            localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report", "Core design")) +
                (report.title.isEmpty() ? QString() : QStringLiteral(" — ") + report.title),
            15);
        if (report.design != nullptr) {
            paintSection(painter, report.design->section, page.take(area.height() * 0.42));
        }
        page.heading(valueGroupTitle(ValueGroup::Results), 11);
        page.table({}, valueTable(values, ValueGroup::Results), {3, 2}, 9.5);
        page.heading(valueGroupTitle(ValueGroup::Conventions), 11);
        page.table({}, valueTable(values, ValueGroup::Conventions), {3, 2}, 9.5);
        page.heading(valueGroupTitle(ValueGroup::Loss), 11);
        page.table({}, valueTable(values, ValueGroup::Loss), {3, 2}, 9.5);
    }
    if (!device.newPage()) {
        return localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report",
                                           "The second page could not be started."));
    }
    {
        Page page(painter, area);
        if (report.design != nullptr) {
            page.heading(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report", "Stage table")),
                         11);
            page.table(stageTableHeader(), stageTableRows(*report.design), {1, 2, 2, 2, 2}, 8.5);
            page.heading(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report", "Cut list")),
                         11);
            page.table(cutListHeader(), cutListRows(*report.design),
                       {0.8, 1.8, 1.2, 1.2, 1.2, 1, 1.2, 1, 1, 1.4}, 7.5);
        }
        page.heading(localised(QT_TRANSLATE_NOOP("kalvitra::designer::Report", "Inputs")), 11);
        page.table({}, inputRowsOf(report.texts), {3, 4, 1}, 8.5);
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

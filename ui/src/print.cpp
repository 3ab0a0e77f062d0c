#include "kalvitra/ui/print.h"

#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#ifdef KALVITRA_HAVE_CUPS
#include <cups/cups.h>

#include <cstring>
#endif

#include "kalvitra/ui/controls.h"
#include "kalvitra/ui/fonts.h"

namespace kalvitra::ui {
namespace {

// The widest field is 121 pixels: no box shows more characters than this, so
// a field holding a whole book is laid out only as far as it can be seen.
constexpr qsizetype kMostVisibleCharacters = 400;
// Where the platform's text field starts its text inside the frame.
constexpr qreal kFieldTextIndent = 4;

QString visiblePart(const QString& text) {
    if (text.size() <= kMostVisibleCharacters) {
        return text;
    }
    qsizetype end = kMostVisibleCharacters;
    if (text.at(end - 1).isHighSurrogate()) {
        --end;  // never split a character in two
    }
    return text.left(end);
}

void paintLabel(QPainter& painter, const ControlRow& control, const QRectF& box,
                const QPalette& palette) {
    painter.setFont(designPixelFont(control.look));
    const bool banner = control.look == Look::Banner;
    painter.setPen(banner ? QColor(kBannerText) : palette.color(QPalette::WindowText));
    const int alignment = banner ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter;
    painter.drawText(box, alignment, initialCaption(control));
}

void paintField(QPainter& painter, const ControlRow& control, const QRectF& box,
                const QString& text, const QPalette& palette) {
    const QColor base = hasInputBackground(*control.field) ? QColor(kInputFieldBackground)
                                                           : palette.color(QPalette::Base);
    painter.setPen(QPen(palette.color(QPalette::Dark), 1));
    painter.setBrush(base);
    painter.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));

    const QRectF inner = box.adjusted(kFieldTextIndent, 1, -2, -1);
    painter.save();
    painter.setClipRect(inner, Qt::IntersectClip);
    painter.setFont(designPixelFont(Look::Plain));
    painter.setPen(palette.color(QPalette::Text));
    painter.drawText(inner, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     visiblePart(text));
    painter.restore();
}

void paintButton(QPainter& painter, const ControlRow& control, const QRectF& box,
                 const QPalette& palette) {
    const QRectF face = box.adjusted(0.5, 0.5, -0.5, -0.5);
    painter.setPen(QPen(palette.color(QPalette::Shadow), 1));
    painter.setBrush(palette.color(QPalette::Button));
    painter.drawRect(face);
    // A raised face: light upper and left edges, dark lower and right ones.
    const QRectF bevel = face.adjusted(1, 1, -1, -1);
    painter.setPen(QPen(palette.color(QPalette::Light), 1));
    painter.drawLine(bevel.bottomLeft(), bevel.topLeft());
    painter.drawLine(bevel.topLeft(), bevel.topRight());
    painter.setPen(QPen(palette.color(QPalette::Dark), 1));
    painter.drawLine(bevel.topRight(), bevel.bottomRight());
    painter.drawLine(bevel.bottomRight(), bevel.bottomLeft());

    painter.setFont(designPixelFont(control.look));
    painter.setPen(palette.color(QPalette::ButtonText));
    painter.drawText(box, Qt::AlignCenter | Qt::TextSingleLine, initialCaption(control));
}

}  // namespace

void paintSheet(QPainter& painter, const QRectF& target, const FieldTexts& texts,
                const QPalette& palette) {
    const QSizeF design = clientSize();
    const qreal scale =
        std::min(target.width() / design.width(), target.height() / design.height());
    const qreal left = target.left() + (target.width() - design.width() * scale) / 2;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    painter.translate(left, target.top());
    painter.scale(scale, scale);
    painter.setClipRect(QRectF(QPointF(0, 0), design));

    painter.fillRect(QRectF(QPointF(0, 0), design), palette.color(QPalette::Window));
    for (const ControlRow& control : controlTable()) {
        const QRectF box = toPixels(control.twips);
        painter.save();
        painter.setClipRect(box, Qt::IntersectClip);
        switch (control.kind) {
            case ControlKind::Label:
                paintLabel(painter, control, box, palette);
                break;
            case ControlKind::TextField:
                paintField(painter, control, box, texts[indexOf(*control.field)], palette);
                break;
            case ControlKind::Button:
                paintButton(painter, control, box, palette);
                break;
        }
        painter.restore();
    }
    painter.restore();
}

std::optional<QString> printSheet(QPagedPaintDevice& device, const FieldTexts& texts,
                                  const QPalette& palette) {
    QPainter painter;
    if (!painter.begin(&device)) {
        return QStringLiteral("无法开始打印：打印机或输出文件打不开。");
    }
    paintSheet(painter, QRectF(0, 0, device.width(), device.height()), texts, palette);
    if (!painter.end()) {
        return QStringLiteral("打印作业未能完成。");
    }
    return std::nullopt;
}

namespace {

// A queue that refuses jobs takes none, yet the toolkit's print call reports
// success all the same: ask the print server first, so that the designer is
// not told the sheet was printed when nothing will come out.
std::optional<QString> refusalOf(const QPrinterInfo& printer) {
#ifdef KALVITRA_HAVE_CUPS
    const QByteArray name = printer.printerName().toUtf8();
    const QByteArray queue = name.split('/').constFirst();  // without an instance
    cups_dest_t* destination = cupsGetNamedDest(CUPS_HTTP_DEFAULT, queue.constData(), nullptr);
    if (destination == nullptr) {
        return std::nullopt;  // the toolkit found it; let the print itself tell
    }
    auto option = [destination](const char* optionName) {
        const char* value =
            cupsGetOption(optionName, destination->num_options, destination->options);
        return QString::fromUtf8(value == nullptr ? "" : value);
    };
    const bool refuses = option("printer-is-accepting-jobs") == QStringLiteral("false");
    const QString reason = option("printer-state-message");
    cupsFreeDests(1, destination);
    if (refuses) {
        QString message = QStringLiteral("打印机“%1”不接受打印作业。").arg(printer.printerName());
        if (!reason.isEmpty()) {
            message += QStringLiteral("（%1）").arg(reason);
        }
        return message;
    }
#else
    (void)printer;
#endif
    return std::nullopt;
}

}  // namespace

std::optional<QString> printOnDefaultPrinter(const FieldTexts& texts, const QPalette& palette) {
    const QPrinterInfo defaultPrinter = QPrinterInfo::defaultPrinter();
    if (defaultPrinter.isNull()) {
        return QStringLiteral("没有默认打印机。请先在系统中设置默认打印机（或启动打印服务）。");
    }
    if (std::optional<QString> refusal = refusalOf(defaultPrinter)) {
        return refusal;
    }
    QPrinter printer(defaultPrinter, QPrinter::HighResolution);
    printer.setDocName(QStringLiteral("Form1"));
    if (std::optional<QString> problem = printSheet(printer, texts, palette)) {
        return problem;
    }
    if (printer.printerState() == QPrinter::Error) {
        return QStringLiteral("打印机“%1”报告了错误。").arg(defaultPrinter.printerName());
    }
    return std::nullopt;
}

}  // namespace kalvitra::ui

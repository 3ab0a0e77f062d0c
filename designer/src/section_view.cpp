#include "kalvitra/designer/section_view.h"

#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace kalvitra::designer {
namespace {

using drawing::Mark;
using drawing::MarkRole;

// The SVG's colours, so the screen and the file look alike.
const QColor kInk(0x1c, 0x28, 0x33);
const QColor kGreyInk(0x5d, 0x6d, 0x7e);
const QColor kPacketFill[] = {QColor(0x8f, 0xa6, 0xbb), QColor(0xb4, 0xc6, 0xd6)};

// Text is laid out at this pixel size and scaled to the mark's size: font
// sizes are whole pixels, marks are millimetres of any size.
constexpr int kLayoutPixels = 100;

QFont fontOf(const Mark& mark) {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Noto Sans"),
                      QStringLiteral("Noto Sans CJK SC")});
    font.setPixelSize(kLayoutPixels);
    switch (mark.role) {
        case MarkRole::StageNumber:
        case MarkRole::Diameter:
        case MarkRole::Title:
            font.setBold(true);
            break;
        default:
            break;
    }
    return font;
}

void paintText(QPainter& painter, const Mark& mark) {
    const QFont font = fontOf(mark);
    const QString text = QString::fromStdString(mark.text);
    painter.save();
    painter.translate(mark.at.x, mark.at.y);
    painter.scale(mark.size / kLayoutPixels, mark.size / kLayoutPixels);
    painter.setFont(font);
    painter.setPen(mark.role == MarkRole::TableHead || mark.role == MarkRole::Note ? kGreyInk
                                                                                   : kInk);
    const double width = QFontMetricsF(font, painter.device()).horizontalAdvance(text);
    painter.drawText(QPointF(mark.anchor == drawing::Anchor::End ? -width : 0, 0), text);
    painter.restore();
}

QPen linePen(QColor colour, double width) {
    QPen pen(colour, width);
    pen.setCapStyle(Qt::FlatCap);
    return pen;
}

void paintMark(QPainter& painter, const Mark& mark, double d) {
    switch (mark.role) {
        case MarkRole::Outline:
            painter.setPen(linePen(QColor(0x34, 0x49, 0x5e), d / 300));
            painter.setBrush(QColor(0xf3, 0xf5, 0xf7));
            painter.drawEllipse(QPointF(mark.at.x, mark.at.y), mark.radius, mark.radius);
            break;
        case MarkRole::Packet: {
            QPen pen = linePen(QColor(0x2c, 0x3e, 0x50), d / 600);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.setPen(pen);
            painter.setBrush(kPacketFill[(mark.stage - 1) % 2]);
            painter.drawRect(QRectF(mark.at.x, mark.at.y, mark.width, mark.height));
            break;
        }
        case MarkRole::CentreLine: {
            QPen pen = linePen(QColor(0xb0, 0x3a, 0x2e), d / 900);
            // The SVG's dashes, d/25 d/100 d/200 d/100, in pen widths.
            pen.setDashPattern({36, 9, 4.5, 9});
            painter.setPen(pen);
            painter.drawLine(QPointF(mark.at.x, mark.at.y), QPointF(mark.to.x, mark.to.y));
            break;
        }
        case MarkRole::TitleBlockRule:
            painter.setPen(linePen(QColor(0x2c, 0x3e, 0x50), d / 900));
            painter.drawLine(QPointF(mark.at.x, mark.at.y), QPointF(mark.to.x, mark.to.y));
            break;
        case MarkRole::TableRule:
        case MarkRole::Leader:
            painter.setPen(linePen(
                mark.role == MarkRole::Leader ? QColor(0x7f, 0x8c, 0x8d) : QColor(0xaa, 0xb7, 0xc4),
                d / 900));
            painter.drawLine(QPointF(mark.at.x, mark.at.y), QPointF(mark.to.x, mark.to.y));
            break;
        case MarkRole::LeaderEnd:
            painter.setPen(Qt::NoPen);
            painter.setBrush(QColor(0x2c, 0x3e, 0x50));
            painter.drawEllipse(QPointF(mark.at.x, mark.at.y), mark.radius, mark.radius);
            break;
        default:
            paintText(painter, mark);
            break;
    }
}

}  // namespace

double paintSection(QPainter& painter, const drawing::SectionDrawing& section,
                    const QRectF& target) {
    if (section.marks.empty() || target.isEmpty()) {
        return 0;
    }
    const double pad = section.diameter / 20;
    const QRectF drawn(QPointF(section.extent.left - pad, section.extent.top - pad),
                       QPointF(section.extent.right + pad, section.extent.bottom + pad));
    const double scale = std::min(target.width() / drawn.width(), target.height() / drawn.height());
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(target.center());
    painter.scale(scale, scale);
    painter.translate(-drawn.center());
    for (const Mark& mark : section.marks) {
        paintMark(painter, mark, section.diameter);
    }
    painter.restore();
    return scale;
}

SectionView::SectionView(QWidget* parent) : QWidget(parent) {
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setMinimumSize(240, 200);
}

void SectionView::setSection(const drawing::SectionDrawing& section) {
    section_ = section;
    setAccessibleDescription(QString::fromStdString(section.caption));
    update();
}

void SectionView::setOutOfDate(bool outOfDate) {
    if (outOfDate_ != outOfDate) {
        outOfDate_ = outOfDate;
        update();
    }
}

QFont SectionView::bannerFont() const {
    QFont font = this->font();
    font.setPointSizeF(font.pointSizeF() * 1.6);
    font.setBold(true);
    return font;
}

QRect SectionView::bannerRect() const {
    if (!outOfDate_) {
        return {};
    }
    const int height = QFontMetrics(bannerFont()).height() * 3 / 2;
    return {0, 0, width(), height};
}

// Out of date, the greyed drawing stands below a banner of its own, so the
// banner covers none of it (the stage numbers stand in the middle).
void SectionView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    const QRect banner = bannerRect();
    const QRectF target = QRectF(rect()).adjusted(4, 4 + banner.height(), -4, -4);
    const double scale = paintSection(painter, section_, target);
    scale_ = scale > 0 ? 1 / scale : 0;
    if (outOfDate_) {
        painter.fillRect(rect(), QColor(255, 255, 255, 150));
        painter.setFont(bannerFont());
        painter.setPen(QColor(0xb0, 0x3a, 0x2e));
        painter.drawText(banner, Qt::AlignCenter, tr("Out of date: see the marked input"));
    }
}

}  // namespace kalvitra::designer

#pragma once

#include <QRectF>
#include <QWidget>

#include "kalvitra/drawing/section_drawing.h"

class QPainter;

// The section on screen and in the report, painted from the core's drawing
// model: the same marks in the same order as the SVG, to scale.

namespace kalvitra::designer {

// Paints the drawing into target, scaled uniformly to fit and centred, with
// the margin the SVG leaves around it. Returns the scale in target units per
// millimetre.
double paintSection(QPainter& painter, const drawing::SectionDrawing& section,
                    const QRectF& target);

class SectionView final : public QWidget {
    Q_OBJECT

public:
    explicit SectionView(QWidget* parent = nullptr);

    void setSection(const drawing::SectionDrawing& section);
    const drawing::SectionDrawing& section() const { return section_; }
    // The drawing no longer matches the inputs: shown veiled, with a word.
    void setOutOfDate(bool outOfDate);
    bool isOutOfDate() const { return outOfDate_; }
    // The band at the top where the out-of-date word stands, above the
    // drawing; empty when the drawing is up to date.
    QRect bannerRect() const;
    // Millimetres per pixel of the last paint, 0 before it: the drawing is to
    // scale when this is the same across and down.
    double scale() const { return scale_; }

    QSize sizeHint() const override { return {520, 420}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QFont bannerFont() const;

    drawing::SectionDrawing section_;
    bool outOfDate_ = false;
    double scale_ = 0;
};

}  // namespace kalvitra::designer

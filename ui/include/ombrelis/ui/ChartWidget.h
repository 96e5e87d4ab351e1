#pragma once

#include <QImage>
#include <QPen>
#include <QRect>
#include <QWidget>
#include <ombrelis/chart/DrawingSurface.h>
#include <ombrelis/ui/PixelMapping.h>
#include <ombrelis/ui/RepaintThrottle.h>
#include <ombrelis/ui/TraceRaster.h>

namespace ombrelis::ui {

/// The strip chart's drawing surface on a widget (the window's `ctlCourbe`).
///
/// Everything is drawn at once into a backing image, which survives the widget being covered
/// and uncovered. Drawing never repaints by itself: the changed area is gathered and pushed to
/// the screen by a RepaintThrottle, so that a run at period 0 is not paced by repaints. A resize
/// gives a backing image of the new size; what was drawn is kept at the top left, and the window
/// resets the chart right after anyway.
///
/// Starts with the pixel scale (x right, y down), the pen at (0, 0), the pen in the trace
/// colour and solid, the background dark grey.
class ChartWidget : public QWidget, public chart::DrawingSurface {
    Q_OBJECT

public:
    explicit ChartWidget(QWidget* parent = nullptr);

    void clear() override;
    /// A scale in which nothing can be drawn (ScaleMapping::drawable) is kept: lines drawn in
    /// it only move the pen, until the next scale.
    void setScale(double x1, double y1, double x2, double y2) override;
    void line(float x1, float y1, float x2, float y2) override;
    void lineTo(float x2, float y2) override;
    chart::Colour penColour() override { return penColour_; }
    void setPenColour(chart::Colour colour) override;
    void setDashStyle(chart::DashStyle style) override;
    void setPenX(float x) override { penX_ = x; }
    float penY() override { return penY_; }
    void setPenY(float y) override { penY_ = y; }

    /// Pushes what was drawn and not yet shown to the screen now, without waiting for the next
    /// push; for the end of a run, so that its last segment shows.
    void flushNow();
    /// The backing image, at the widget's current size; a null image while the widget has no
    /// pixels.
    const QImage& image() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    /// Brings the backing image to the widget's size. A hidden widget is told of a resize only
    /// when shown, so every use checks.
    void fitImage() const;
    void drawLine(float x1, float y1, float x2, float y2);
    void updatePen();
    void markDirty(const QRect& area);
    void push();

    mutable QImage image_;
    /// Solid lines not yet in image_; every reader of the image flushes it first.
    mutable TraceRaster trace_;
    ScaleMapping scale_ = ScaleMapping::pixels();
    chart::Colour penColour_;
    chart::DashStyle dash_ = chart::DashStyle::Solid;
    QPen pen_;
    QRgb penRgb_ = 0;
    float penX_ = 0.0F;
    float penY_ = 0.0F;

    /// Drawn, not yet pushed.
    QRect dirty_;
    /// Pushed, perhaps not yet painted.
    QRect unpainted_;
    RepaintThrottle throttle_{[this] { push(); }};
};

} // namespace ombrelis::ui

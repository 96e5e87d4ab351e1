#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <ombrelis/chart/Colours.h>
#include <ombrelis/ui/ChartWidget.h>

namespace ombrelis::ui {

namespace {

QColor toQColor(chart::Colour colour) {
    return chart::toRgb<QColor>(colour);
}

} // namespace

ChartWidget::ChartWidget(QWidget* parent) : QWidget(parent), penColour_(chart::kTraceColour) {
    // The image covers every pixel, and what is already on screen stays valid on a resize.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_StaticContents);
    updatePen();
}

void ChartWidget::clear() {
    fitImage();
    trace_.discard();
    image_.fill(toQColor(chart::kBackground));
    markDirty(image_.rect());
}

void ChartWidget::setScale(double x1, double y1, double x2, double y2) {
    scale_ = ScaleMapping::user(x1, y1, x2, y2);
}

void ChartWidget::line(float x1, float y1, float x2, float y2) {
    drawLine(x1, y1, x2, y2);
    penX_ = x2;
    penY_ = y2;
}

void ChartWidget::lineTo(float x2, float y2) {
    line(penX_, penY_, x2, y2);
}

void ChartWidget::setPenColour(chart::Colour colour) {
    penColour_ = colour;
    updatePen();
}

void ChartWidget::setDashStyle(chart::DashStyle style) {
    dash_ = style;
    updatePen();
}

void ChartWidget::updatePen() {
    penRgb_ = toQColor(penColour_).rgb();
    pen_ = QPen(toQColor(penColour_), 1,
                dash_ == chart::DashStyle::Dotted ? Qt::DotLine : Qt::SolidLine);
    pen_.setCosmetic(true);
}

void ChartWidget::drawLine(float x1, float y1, float x2, float y2) {
    fitImage();
    if (image_.isNull() || !scale_.drawable()) {
        return;
    }
    const int w = image_.width();
    const int h = image_.height();
    const auto clipped =
        clipToPixels(scale_.toPixel(x1, y1, w, h), scale_.toPixel(x2, y2, w, h), w, h);
    if (!clipped) {
        return;
    }
    const QPoint from(clipped->x1, clipped->y1);
    const QPoint to(clipped->x2, clipped->y2);
    if (dash_ == chart::DashStyle::Solid) {
        // The trace: one line per sample, hundreds of thousands a second at period 0, so it
        // bypasses QPainter's per-call setup.
        trace_.line(image_, *clipped, penRgb_);
    } else {
        trace_.flush(image_);
        QPainter painter(&image_);
        painter.setPen(pen_);
        if (from == to) {
            painter.drawPoint(from);
        } else {
            painter.drawLine(from, to);
        }
    }
    const QRect touched = QRect(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                                QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
    markDirty(touched.adjusted(-1, -1, 1, 1) & image_.rect());
}

void ChartWidget::markDirty(const QRect& area) {
    if (area.isEmpty()) {
        return;
    }
    dirty_ |= area;
    throttle_.changed();
}

void ChartWidget::push() {
    trace_.flush(image_);
    update(dirty_ & rect());
    unpainted_ |= dirty_;
    dirty_ = QRect();
}

void ChartWidget::flushNow() {
    throttle_.shownNow();
    trace_.flush(image_);
    // An area already pushed may still wait in the event queue for its paint: it is painted
    // now as well, so that on return the screen shows everything drawn.
    const QRect area = (dirty_ | unpainted_) & rect();
    dirty_ = QRect();
    unpainted_ = QRect();
    if (!area.isEmpty()) {
        repaint(area);
    }
}

const QImage& ChartWidget::image() const {
    fitImage();
    trace_.flush(image_);
    return image_;
}

void ChartWidget::fitImage() const {
    // An image without pixels is null and reports no size at all.
    if (size().isEmpty() ? image_.isNull() : image_.size() == size()) {
        return;
    }
    trace_.flush(image_);
    QImage resized(size(), QImage::Format_RGB32);
    if (!resized.isNull()) {
        resized.fill(toQColor(chart::kBackground));
        if (!image_.isNull()) {
            QPainter painter(&resized);
            painter.drawImage(0, 0, image_);
        }
    }
    image_ = std::move(resized);
}

void ChartWidget::paintEvent(QPaintEvent* event) {
    fitImage();
    trace_.flush(image_);
    const QRect area = event->rect();
    if (area.contains(unpainted_)) {
        unpainted_ = QRect();
    }
    QPainter painter(this);
    if (image_.isNull()) {
        return;
    }
    painter.drawImage(area.topLeft(), image_, area);
}

void ChartWidget::resizeEvent(QResizeEvent* event) {
    fitImage();
    QWidget::resizeEvent(event);
}

} // namespace ombrelis::ui

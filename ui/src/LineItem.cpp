#include <QPainter>
#include <algorithm>
#include <ombrelis/ui/LineItem.h>
#include <ombrelis/ui/Twips.h>

namespace ombrelis::ui {

LineItem::LineItem(QWidget* parent, int x1, int y1, int x2, int y2, const QColor& colour)
    : QWidget(parent), x1_(x1), y1_(y1), x2_(x2), y2_(y2), colour_(colour) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    place();
}

void LineItem::setX2(int twips) {
    x2_ = twips;
    place();
}

void LineItem::place() {
    // The widget is the line's bounding box, one pixel thick at least, so that the line is
    // drawn inside it whatever its direction.
    const int left = twipsToPixels(std::min(x1_, x2_));
    const int top = twipsToPixels(std::min(y1_, y2_));
    const int right = twipsToPixels(std::max(x1_, x2_));
    const int bottom = twipsToPixels(std::max(y1_, y2_));
    setGeometry(left, top, right - left + 1, bottom - top + 1);
    update();
}

void LineItem::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(QPen(colour_, 1));
    const QPoint origin = pos();
    painter.drawLine(QPoint(twipsToPixels(x1_), twipsToPixels(y1_)) - origin,
                     QPoint(twipsToPixels(x2_), twipsToPixels(y2_)) - origin);
}

} // namespace ombrelis::ui

#pragma once

#include <QColor>
#include <QWidget>

namespace ombrelis::ui {

/// A one-pixel straight line drawn on the window between two end points given in twips in the
/// window's client area. It lies under every other control, and never takes the focus or the
/// mouse.
class LineItem : public QWidget {
    Q_OBJECT

public:
    LineItem(QWidget* parent, int x1, int y1, int x2, int y2, const QColor& colour);

    int x1() const { return x1_; }
    int y1() const { return y1_; }
    int x2() const { return x2_; }
    int y2() const { return y2_; }
    QColor colour() const { return colour_; }

    /// Moves the second end point along x; the first end point and both y stay.
    void setX2(int twips);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void place();

    int x1_;
    int y1_;
    int x2_;
    int y2_;
    QColor colour_;
};

} // namespace ombrelis::ui

#include "ChartDriver.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QScreen>
#include <functional>
#include <gtest/gtest.h>
#include <ombrelis/testing/FakeClock.h>
#include <ombrelis/ui/ChartWidget.h>

namespace fake = ombrelis::testing;
namespace ui = ombrelis::ui;

namespace {

/// Counts the paint events a widget gets and gathers the area they covered.
class PaintWatch : public QObject {
public:
    explicit PaintWatch(QWidget& widget) { widget.installEventFilter(this); }
    int paints = 0;
    QRegion painted;
    void reset() {
        paints = 0;
        painted = QRegion();
    }

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
            painted += static_cast<QPaintEvent*>(event)->region();
        }
        return false;
    }
};

/// Runs the event loop until `done` holds; false if it still does not after a generous while.
/// A liveness bound only, never a measure of speed.
bool pumpUntil(const std::function<bool()>& done) {
    QElapsedTimer waited;
    waited.start();
    while (!done()) {
        if (waited.elapsed() > 10000) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

const QRgb kGreen = qRgb(0, 192, 0);

/// What the window system holds of the widget: on the offscreen platform, its backing store.
QImage screenImage(QWidget& widget) {
    return widget.screen()
        ->grabWindow(widget.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QRgb onScreen(QWidget& widget, int x, int y) {
    return screenImage(widget).pixel(x, y);
}

/// A shown chart of 301 x 201 pixels, past its first paint.
struct ShownRig {
    ui::ChartWidget widget;
    PaintWatch watch{widget};
    fake::FakeClock clock;
    const std::string axis = "120";
    fake::ChartDriver chart{widget, clock, axis};

    ShownRig() {
        widget.resize(301, 201);
        widget.show();
        EXPECT_TRUE(pumpUntil([this] { return watch.paints > 0; }));
        chart.InitCourbe();
        widget.flushNow();
        watch.reset();
    }
};

TEST(ChartWidgetScreen, PeriodZeroRunIsPushedAtTheCappedRateAndItsLastSegmentShows) {
    ShownRig r;
    constexpr int kSegments = 3000;
    QElapsedTimer run;
    run.start();
    for (int i = 0; i < kSegments; ++i) {
        // One segment, then one pump of pending events, as the run does each cycle.
        r.chart.segmentTo(static_cast<float>(i * 40), static_cast<float>(1024 + i % 2048));
        QCoreApplication::processEvents();
    }
    const qint64 elapsedMs = run.elapsed();
    EXPECT_LE(r.watch.paints, 2 + elapsedMs / ui::RepaintThrottle::kIntervalMs)
        << "over " << elapsedMs << " ms";

    // The last segment climbs the right edge to 4000 counts, row 5, far above every earlier
    // one (3071 at most, row 50); the event loop alone brings it to the screen.
    r.chart.segmentTo(119990.0F, 4000.0F);
    EXPECT_TRUE(pumpUntil([&] { return onScreen(r.widget, 300, 5) == kGreen; }));
}

TEST(ChartWidgetScreen, FlushNowShowsWhatIsPendingWithoutTheEventLoop) {
    ShownRig r;
    r.chart.segmentTo(1000.0F, 3072.0F);
    r.chart.segmentTo(120000.0F, 3072.0F);
    r.widget.flushNow();
    for (const int x : {10, 150, 300}) {
        EXPECT_EQ(onScreen(r.widget, x, 50), kGreen) << "x " << x;
    }
}

TEST(ChartWidgetScreen, HiddenAndShownAgainItPaintsFromTheBackingImage) {
    ShownRig r;
    r.chart.segmentTo(60000.0F, 4096.0F);
    r.widget.flushNow();
    r.widget.hide();
    r.widget.show();
    EXPECT_TRUE(pumpUntil([&] { return r.watch.paints > 0; }));
    EXPECT_EQ(screenImage(r.widget), r.widget.image());
}

} // namespace

// Cost of one strip-chart segment on the Qt drawing surface, drawn and pushed to the screen at
// the capped rate while the run pumps events after every sample, against a bare line into a
// QImage. Prints "name: value" lines.
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QImage>
#include <QPainter>
#include <QPen>
#include <cstdint>
#include <cstdio>
#include <ombrelis/chart/Colours.h>
#include <ombrelis/chart/StripChart.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/ui/ChartWidget.h>

namespace {

namespace chart = ombrelis::chart;
namespace platform = ombrelis::platform;
namespace ui = ombrelis::ui;

// ctlCourbe's size in the layout: 14415 x 4455 twips at 15 twips a pixel.
constexpr int kWidth = 961;
constexpr int kHeight = 297;
constexpr int kSegments = 200000;
constexpr int kRepaintedSegments = 20000;
constexpr double kAxisMs = 120000.0;

/// Sample values as the simulated source gives them (1024 to 3071), from a fixed LCG so that
/// every loop draws the same lines.
class Samples {
public:
    float next() {
        state_ = state_ * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<float>(1024 + (state_ >> 33) % 2048);
    }

private:
    std::uint64_t state_ = 42;
};

/// x of sample i: a sweep of the axis every kSegments samples, as at a short period.
float sampleX(int i) {
    return static_cast<float>(kAxisMs * i / kSegments);
}

/// The tick of a sample drawn `x` ms into the current sweep of `chart`.
std::int64_t tickAt(const chart::StripChart& chart, float x) {
    return chart.T0Courbe() + static_cast<std::int64_t>(x);
}

class PaintCounter : public QObject {
public:
    int paints = 0;

protected:
    bool eventFilter(QObject* /*watched*/, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            ++paints;
        }
        return false;
    }
};

void print(const char* name, double value) {
    std::printf("%s: %.1f\n", name, value);
}

double nsPer(const QElapsedTimer& timer, int count) {
    return static_cast<double>(timer.nsecsElapsed()) / count;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    ui::ChartWidget widget;
    widget.resize(kWidth, kHeight);
    PaintCounter counter;
    widget.installEventFilter(&counter);
    widget.show();
    for (int i = 0; i < 50; ++i) {
        QCoreApplication::processEvents();
    }
    platform::SteadyClock clock;
    chart::StripChart stripChart(widget, clock);
    const chart::StripChart::AxisWidth axis = [] { return kAxisMs; };
    stripChart.InitCourbe(axis);
    widget.flushNow();

    // The run's pump alone, to take it out of the segment's cost.
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < kSegments; ++i) {
        QCoreApplication::processEvents();
    }
    const double pumpNs = nsPer(timer, kSegments);

    Samples samples;
    counter.paints = 0;
    timer.start();
    for (int i = 0; i < kSegments; ++i) {
        stripChart.plot(tickAt(stripChart, sampleX(i)), samples.next());
        QCoreApplication::processEvents();
    }
    widget.flushNow();
    const double segmentAndPumpNs = nsPer(timer, kSegments);
    const double seconds = static_cast<double>(timer.nsecsElapsed()) / 1e9;
    const double pushesPerSecond = counter.paints / seconds;

    stripChart.InitCourbe(axis);
    timer.start();
    for (int i = 0; i < kSegments; ++i) {
        stripChart.plot(tickAt(stripChart, sampleX(i)), samples.next());
    }
    const double drawOnlyNs = nsPer(timer, kSegments);
    widget.flushNow();

    // What a repaint after every sample would cost instead of the capped push.
    stripChart.InitCourbe(axis);
    widget.flushNow();
    timer.start();
    for (int i = 0; i < kRepaintedSegments; ++i) {
        stripChart.plot(tickAt(stripChart, sampleX(i * (kSegments / kRepaintedSegments))),
                        samples.next());
        widget.flushNow();
        QCoreApplication::processEvents();
    }
    const double repaintEachNs = nsPer(timer, kRepaintedSegments);

    // The same lines straight into an image, in pixels, with one painter for all of them...
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    image.fill(chart::toRgb<QColor>(chart::kBackground));
    QPen pen(chart::toRgb<QColor>(chart::kTraceColour), 1);
    pen.setCosmetic(true);
    const auto pixelX = [](int i) {
        return static_cast<int>(sampleX(i) / kAxisMs * (kWidth - 1) + 0.5);
    };
    const auto pixelY = [](float v) {
        return static_cast<int>((4096.0F - v) / 4096.0F * (kHeight - 1) + 0.5F);
    };
    int lastY = pixelY(samples.next());
    {
        QPainter painter(&image);
        painter.setPen(pen);
        timer.start();
        for (int i = 1; i < kSegments; ++i) {
            const int y = pixelY(samples.next());
            painter.drawLine(pixelX(i - 1), lastY, pixelX(i), y);
            lastY = y;
        }
    }
    const double bareLineNs = nsPer(timer, kSegments - 1);

    // ...and with a painter opened for each, as the widget does.
    timer.start();
    for (int i = 1; i < kSegments; ++i) {
        const int y = pixelY(samples.next());
        QPainter painter(&image);
        painter.setPen(pen);
        painter.drawLine(pixelX(i - 1), lastY, pixelX(i), y);
        lastY = y;
    }
    const double painterPerLineNs = nsPer(timer, kSegments - 1);

    print("segment_on_widget_ns", segmentAndPumpNs - pumpNs);
    print("bare_qimage_line_ns", bareLineNs);
    print("bare_qimage_line_painter_per_line_ns", painterPerLineNs);
    print("segment_drawn_without_pump_ns", drawOnlyNs);
    print("segment_and_pump_ns", segmentAndPumpNs);
    print("pump_only_ns", pumpNs);
    print("screen_pushes_per_second", pushesPerSecond);
    print("segment_repainted_each_sample_ns", repaintEachNs);
    return 0;
}

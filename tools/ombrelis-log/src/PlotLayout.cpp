#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/logtool/ReportText.h>

namespace ombrelis::logtool {

namespace {

std::string tickLabel(double value, double step) {
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", std::clamp(decimals, 0, 9), value);
    std::string label = text;
    if (label.find_first_not_of("-0.") == std::string::npos) {
        label = "0"; // no "-0" at the origin
    }
    return label;
}

std::string baseName(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

/// Consecutive trace points that fall in one pixel column.
struct ColumnRun {
    PlotPoint first, low, high, last;
    std::size_t count = 0, lowIndex = 0, highIndex = 0;

    void add(const PlotPoint& p) {
        if (count == 0) {
            first = low = high = p;
        }
        if (p.y < low.y) {
            low = p;
            lowIndex = count;
        }
        if (p.y > high.y) {
            high = p;
            highIndex = count;
        }
        last = p;
        ++count;
    }

    /// First, lowest, highest and last, in the order they came, each once.
    void flushInto(std::vector<PlotPoint>& points) const {
        if (count == 0) {
            return;
        }
        points.push_back(first);
        const auto middle = [&](const PlotPoint& p, std::size_t index) {
            if (index != 0 && index != count - 1) {
                points.push_back(p);
            }
        };
        if (lowIndex <= highIndex) {
            middle(low, lowIndex);
            middle(high, highIndex);
        } else {
            middle(high, highIndex);
            middle(low, lowIndex);
        }
        if (count > 1) {
            points.push_back(last);
        }
    }
};

} // namespace

double PlotLayout::xOf(double seconds) const noexcept {
    return area.left + (seconds - firstSeconds) / (lastSeconds - firstSeconds) * area.width;
}

double PlotLayout::yOf(double volts) const noexcept {
    return area.bottom() - volts / kFullScaleVolts * area.height;
}

double niceStep(double span, int maxTicks) {
    if (!(span > 0) || !std::isfinite(span)) {
        return 1;
    }
    const double rough = span / std::max(1, maxTicks);
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    for (const double factor : {1.0, 2.0, 5.0}) {
        if (factor * decade >= rough) {
            return factor * decade;
        }
    }
    return 10 * decade;
}

PlotLayout layoutPlot(double width, double height, double firstSeconds, double lastSeconds) {
    PlotLayout layout;
    layout.imageWidth = std::max(0.0, width);
    layout.imageHeight = std::max(0.0, height);
    layout.fontPixels = std::clamp(std::min(layout.imageWidth, layout.imageHeight) / 45, 9.0, 18.0);
    const double f = layout.fontPixels;

    const double left = 4.5 * f;
    const double right = 2 * f;
    const double top = 2.8 * f;
    const double bottom = 3.4 * f;
    layout.area = PixelRect{left, top, std::max(0.0, layout.imageWidth - left - right),
                            std::max(0.0, layout.imageHeight - top - bottom)};

    if (!std::isfinite(firstSeconds) || !std::isfinite(lastSeconds) ||
        !(lastSeconds > firstSeconds)) {
        lastSeconds = (std::isfinite(firstSeconds) ? firstSeconds : 0) + 1;
        firstSeconds = lastSeconds - 1;
    }
    layout.firstSeconds = firstSeconds;
    layout.lastSeconds = lastSeconds;

    const int maxTimeTicks = std::max(1, static_cast<int>(layout.area.width / (7 * f)));
    const double step = niceStep(lastSeconds - firstSeconds, maxTimeTicks);
    for (double k = std::ceil(firstSeconds / step); k * step <= lastSeconds + step * 1e-9; ++k) {
        const double t = k * step;
        layout.timeTicks.push_back({t, layout.xOf(t), tickLabel(t, step)});
    }
    for (int volts = 0; volts <= 4; ++volts) {
        layout.voltTicks.push_back(
            {static_cast<double>(volts), layout.yOf(volts), std::to_string(volts) + " V"});
    }
    return layout;
}

std::pair<double, double> timeSpanSeconds(const LogView& log) {
    if (log.recordCount() == 0) {
        return {0, 1};
    }
    std::int32_t lowest = std::numeric_limits<std::int32_t>::max();
    std::int32_t highest = std::numeric_limits<std::int32_t>::min();
    for (std::size_t n = 1; n <= log.recordCount(); ++n) {
        const std::int32_t t = log.record(n).TempsMs;
        lowest = std::min(lowest, t);
        highest = std::max(highest, t);
    }
    return {lowest / 1000.0, highest / 1000.0};
}

std::vector<PlotPoint> tracePoints(const LogView& log, const PlotLayout& layout) {
    std::vector<PlotPoint> points;
    ColumnRun run;
    for (std::size_t n = 1; n <= log.recordCount(); ++n) {
        const engine::MesureRec record = log.record(n);
        const PlotPoint p{layout.xOf(record.TempsMs / 1000.0), layout.yOf(record.Valeur / 1000.0)};
        if (run.count == 0 || std::floor(p.x) != std::floor(run.first.x)) {
            run.flushInto(points);
            run = ColumnRun{};
        }
        run.add(p);
    }
    run.flushInto(points);
    return points;
}

std::string plotTitle(std::string_view path, std::size_t records, std::int64_t durationMs) {
    return baseName(path) + " — " + std::to_string(records) +
           (records == 1 ? " record — " : " records — ") + durationText(durationMs);
}

} // namespace ombrelis::logtool

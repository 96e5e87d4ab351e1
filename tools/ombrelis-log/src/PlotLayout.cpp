#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ombrelis/logtool/Input.h>
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
    return withDecimalComma(label);
}

std::string baseName(std::string_view path) {
#ifdef _WIN32
    const std::size_t slash = path.find_last_of("/\\:"); // C:\m\run.dat, C:run.dat
#else
    const std::size_t slash = path.find_last_of('/');
#endif
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

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

std::string plotTitle(std::string_view path, std::uint64_t records, std::int64_t durationMs) {
    const std::string name = path == kStandardInput ? "entrée standard" : baseName(path);
    return name + " — " + std::to_string(records) + (records <= 1 ? " mesure — " : " mesures — ") +
           durationText(durationMs);
}

} // namespace ombrelis::logtool

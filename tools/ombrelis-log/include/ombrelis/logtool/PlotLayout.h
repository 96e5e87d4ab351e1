#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ombrelis::logtool {

/// Top of the voltage axis: the converter's reference, where a count of 4096 would lie.
inline constexpr double kFullScaleVolts = 4.096;

struct PixelRect {
    double left = 0;
    double top = 0;
    double width = 0;
    double height = 0;
    double right() const noexcept { return left + width; }
    double bottom() const noexcept { return top + height; }
};

struct AxisTick {
    double value = 0; ///< seconds or volts
    double pixel = 0; ///< x for a time tick, y for a voltage tick
    std::string label;
};

struct PlotPoint {
    double x = 0;
    double y = 0;
};

/// Where each part of the picture goes: the chart area, its scales and its ticks. Plain
/// numbers, so the picture's geometry is tested without drawing anything.
struct PlotLayout {
    double imageWidth = 0;
    double imageHeight = 0;
    double fontPixels = 12; ///< text height that fits the picture's size
    PixelRect area;         ///< the chart itself; the rest holds the title and the axis labels
    double firstSeconds = 0;
    double lastSeconds = 1;
    std::vector<AxisTick> timeTicks;
    std::vector<AxisTick> voltTicks;        ///< 0 to 4 V, labelled
    std::vector<double> gridVolts{1, 2, 3}; ///< the reference lines of the live chart

    double xOf(double seconds) const noexcept;
    double yOf(double volts) const noexcept;
};

/// The layout of a picture of `width` × `height` pixels over the time span
/// [firstSeconds, lastSeconds]; an empty or reversed span is widened to one second.
PlotLayout layoutPlot(double width, double height, double firstSeconds, double lastSeconds);

/// A step of 1, 2 or 5 × 10^k giving at most `maxTicks` intervals over `span`.
double niceStep(double span, int maxTicks);

/// "mesures.dat — 1234 mesures — 123,400 s (0:02:03,400)" with the file's name without its
/// folder; "entrée standard" for "-".
std::string plotTitle(std::string_view path, std::uint64_t records, std::int64_t durationMs);

} // namespace ombrelis::logtool

#pragma once

#include <cstdint>
#include <functional>
#include <ombrelis/chart/DrawingSurface.h>
#include <ombrelis/platform/Clock.h>
#include <string>

namespace ombrelis::chart {

inline constexpr Colour kGridColour = rgb(255, 0, 0);
inline constexpr Colour kTraceColour = rgb(0, 192, 0);
inline constexpr Colour kBackground = rgb(64, 64, 64);
inline constexpr double kScaleTop = 4096.0;

/// Sweep-full rule: the sweep is full when tick - sweepStart > axisMs (strictly), the
/// difference formed without wrap-around and compared in double precision.
bool sweepIsFull(std::int64_t tick, std::int64_t sweepStart, double axisMs);

/// The strip chart: reference grid, sweep and one segment per sample, on any DrawingSurface.
class StripChart {
public:
    using AxisTextSource = std::function<std::string()>;

    StripChart(DrawingSurface& surface, platform::Clock& clock, AxisTextSource axisText);

    /// Clears and rescales the chart to the current axis text, draws the grid and restarts the
    /// sweep; the pen keeps its height. Throws engine::NumberTooLarge when the axis number is
    /// too large, leaving T0Courbe unchanged.
    void InitCourbe();
    /// Clock reading at the end of the last reset.
    std::int64_t T0Courbe() const noexcept { return t0Courbe_; }
    /// One sample's line, from the pen to (x, y).
    void segmentTo(float x, float y);

private:
    DrawingSurface& surface_;
    platform::Clock& clock_;
    AxisTextSource axisText_;
    std::int64_t t0Courbe_ = 0;
};

} // namespace ombrelis::chart

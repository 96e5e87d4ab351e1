#pragma once

#include <cstdint>
#include <functional>
#include <ombrelis/chart/DrawingSurface.h>
#include <ombrelis/platform/Clock.h>

namespace ombrelis::chart {

inline constexpr double kScaleTop = 4096.0;

/// Sweep-full rule: the sweep is full when tick - sweepStart > axisMs (strictly), the
/// difference formed without wrap-around and compared in double precision.
bool sweepIsFull(std::int64_t tick, std::int64_t sweepStart, double axisMs);

/// The strip chart: reference grid, sweep and one segment per sample, on any DrawingSurface.
class StripChart {
public:
    /// The sweep's width in milliseconds: the time-axis number times 1000. May throw when the
    /// axis cannot be read (a number too large).
    using AxisWidth = std::function<double()>;

    StripChart(DrawingSurface& surface, platform::Clock& clock);

    /// Clears the chart, rescales it to the axis width, draws the grid and restarts the sweep;
    /// the pen keeps its height. The width is asked once, right after the clear: when that
    /// throws, the chart stays cleared and T0Courbe keeps its value.
    void InitCourbe(const AxisWidth& axisMs);
    /// Clock reading at the end of the last reset.
    std::int64_t T0Courbe() const noexcept { return t0Courbe_; }
    /// True when a sample whose tick is `tick` falls past the current sweep (sweepIsFull).
    bool sweepIsFull(std::int64_t tick, double axisMs) const;
    /// One sample's segment: a line from the pen to (tick - T0Courbe, value).
    void plot(std::int64_t tick, float value);

private:
    DrawingSurface& surface_;
    platform::Clock& clock_;
    std::int64_t t0Courbe_ = 0;
};

} // namespace ombrelis::chart

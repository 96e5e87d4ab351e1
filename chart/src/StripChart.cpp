#include <limits>
#include <ombrelis/chart/StripChart.h>

namespace ombrelis::chart {

namespace {

constexpr double kGridLevels[] = {2048.0, 1024.0, 3072.0};

/// Single precision for a line end. A double beyond the float range saturates to an infinity
/// (as the hardware rounding would) instead of the undefined narrowing; the surface rejects it.
float toSingle(double value) {
    constexpr double kLargest = std::numeric_limits<float>::max();
    if (value > kLargest) {
        return std::numeric_limits<float>::infinity();
    }
    if (value < -kLargest) {
        return -std::numeric_limits<float>::infinity();
    }
    return static_cast<float>(value);
}

} // namespace

bool sweepIsFull(std::int64_t tick, std::int64_t sweepStart, double axisMs) {
    // The magnitude of the difference always fits in 64 unsigned bits, so it is formed exactly
    // there and only then rounded once to double, whatever the two readings are.
    const auto t = static_cast<std::uint64_t>(tick);
    const auto s = static_cast<std::uint64_t>(sweepStart);
    const double elapsed =
        tick >= sweepStart ? static_cast<double>(t - s) : -static_cast<double>(s - t);
    return elapsed > axisMs;
}

StripChart::StripChart(DrawingSurface& surface, platform::Clock& clock)
    : surface_(surface), clock_(clock) {}

void StripChart::InitCourbe(const AxisWidth& axisMs) {
    const float savedY = surface_.penY();
    surface_.clear();
    // Nothing runs between the steps of a reset, so one reading of the axis serves the scale
    // and the three grid lines.
    const double width = axisMs();
    surface_.setScale(0.0, kScaleTop, width, 0.0);

    // The pen is only borrowed for the grid.
    const Colour savedColour = surface_.penColour();
    surface_.setPenColour(kGridColour);
    surface_.setDashStyle(DashStyle::Dotted);
    for (const double level : kGridLevels) {
        const auto y = static_cast<float>(level);
        surface_.line(0.0F, y, toSingle(width), y);
    }
    surface_.setDashStyle(DashStyle::Solid);
    surface_.setPenColour(savedColour);
    surface_.setPenX(0.0F);
    surface_.setPenY(savedY);
    t0Courbe_ = clock_.nowMs();
}

bool StripChart::sweepIsFull(std::int64_t tick, double axisMs) const {
    return chart::sweepIsFull(tick, t0Courbe_, axisMs);
}

void StripChart::plot(std::int64_t tick, float value) {
    surface_.lineTo(static_cast<float>(tick - t0Courbe_), value);
}

} // namespace ombrelis::chart

#include <cmath>
#include <limits>
#include <ombrelis/chart/StripChart.h>
#include <ombrelis/engine/TextNumber.h>
#include <utility>

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

StripChart::StripChart(DrawingSurface& surface, platform::Clock& clock, AxisTextSource axisText)
    : surface_(surface), clock_(clock), axisText_(std::move(axisText)) {}

void StripChart::InitCourbe() {
    const float savedY = surface_.penY();
    surface_.clear();
    // The axis text is read afresh at every use; nothing of it is kept between resets.
    const auto axisMs = [this] { return engine::axisWidthMs(axisText_()); };
    surface_.setScale(0.0, kScaleTop, axisMs(), 0.0);

    const Colour savedColour = surface_.penColour();
    surface_.setPenColour(kGridColour);
    surface_.setDashStyle(DashStyle::Dotted);
    const auto givePenBack = [&] {
        surface_.setDashStyle(DashStyle::Solid);
        surface_.setPenColour(savedColour);
        surface_.setPenX(0.0F);
        surface_.setPenY(savedY);
    };
    try {
        for (const double level : kGridLevels) {
            const auto y = static_cast<float>(level);
            surface_.line(0.0F, y, toSingle(axisMs()), y);
        }
    } catch (...) {
        // The pen is only borrowed for the grid: if the axis turns unreadable half-way, the
        // trace must not go on red and dotted after the caller has reported the failure.
        givePenBack();
        throw;
    }
    givePenBack();
    t0Courbe_ = clock_.nowMs();
}

void StripChart::segmentTo(float x, float y) {
    surface_.lineTo(x, y);
}

} // namespace ombrelis::chart

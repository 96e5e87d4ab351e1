#include <array>
#include <charconv>
#include <cmath>
#include <ombrelis/testing/RecordingSurface.h>

namespace ombrelis::testing {

std::string RecordingSurface::number(double value) {
    if (std::isnan(value)) {
        return "nan";
    }
    if (std::isinf(value)) {
        return value > 0 ? "inf" : "-inf";
    }
    std::array<char, 32> buffer{};
    const auto [end, error] = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    (void)error; // 32 characters hold any double
    return std::string(buffer.data(), end);
}

void RecordingSurface::clear() {
    lines_.clear();
    ++clears_;
}

void RecordingSurface::setScale(double x1, double y1, double x2, double y2) {
    scale_ = number(x1) + ", " + number(y1) + ", " + number(x2) + ", " + number(y2);
}

void RecordingSurface::line(float x1, float y1, float x2, float y2) {
    lines_.push_back({x1, y1, x2, y2, colour_, dash_});
    penX_ = x2;
    penY_ = y2;
}

void RecordingSurface::lineTo(float x2, float y2) {
    lines_.push_back({penX_, penY_, x2, y2, colour_, dash_});
    penX_ = x2;
    penY_ = y2;
}

chart::Colour RecordingSurface::penColour() {
    return colour_;
}

void RecordingSurface::setPenColour(chart::Colour colour) {
    colour_ = colour;
}

void RecordingSurface::setDashStyle(chart::DashStyle style) {
    dash_ = style;
}

void RecordingSurface::setPenX(float x) {
    penX_ = x;
}

float RecordingSurface::penY() {
    return penY_;
}

void RecordingSurface::setPenY(float y) {
    penY_ = y;
}

} // namespace ombrelis::testing

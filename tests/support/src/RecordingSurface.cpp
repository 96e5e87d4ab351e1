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

namespace {

std::string dashName(chart::DashStyle style) {
    return style == chart::DashStyle::Dotted ? "dotted" : "solid";
}

} // namespace

void RecordingSurface::clear() {
    journal_.add("clear");
    lines_.clear();
}

void RecordingSurface::setScale(double x1, double y1, double x2, double y2) {
    scale_ = number(x1) + ", " + number(y1) + ", " + number(x2) + ", " + number(y2);
    journal_.add("setScale(" + scale_ + ")");
}

void RecordingSurface::line(float x1, float y1, float x2, float y2) {
    journal_.add("line(" + number(x1) + ", " + number(y1) + ", " + number(x2) + ", " + number(y2) +
                 ")");
    lines_.push_back({x1, y1, x2, y2, colour_, dash_});
    penX_ = x2;
    penY_ = y2;
}

void RecordingSurface::lineTo(float x2, float y2) {
    journal_.add("lineTo(" + number(x2) + ", " + number(y2) + ")");
    lines_.push_back({penX_, penY_, x2, y2, colour_, dash_});
    penX_ = x2;
    penY_ = y2;
}

chart::Colour RecordingSurface::penColour() {
    journal_.add("penColour");
    return colour_;
}

void RecordingSurface::setPenColour(chart::Colour colour) {
    journal_.add("setPenColour(" + std::to_string(colour) + ")");
    colour_ = colour;
}

void RecordingSurface::setDashStyle(chart::DashStyle style) {
    journal_.add("setDashStyle(" + dashName(style) + ")");
    dash_ = style;
}

void RecordingSurface::setPenX(float x) {
    journal_.add("setPenX(" + number(x) + ")");
    penX_ = x;
}

float RecordingSurface::penY() {
    journal_.add("penY");
    return penY_;
}

void RecordingSurface::setPenY(float y) {
    journal_.add("setPenY(" + number(y) + ")");
    penY_ = y;
}

} // namespace ombrelis::testing

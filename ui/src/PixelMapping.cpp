#include <algorithm>
#include <cmath>
#include <ombrelis/ui/PixelMapping.h>

namespace ombrelis::ui {

ScaleMapping ScaleMapping::user(double x1, double y1, double x2, double y2) {
    ScaleMapping m;
    m.userScale_ = true;
    m.x1_ = x1;
    m.y1_ = y1;
    m.width_ = x2 - x1;
    m.height_ = y2 - y1;
    m.drawable_ = std::isfinite(x1) && std::isfinite(y1) && std::isfinite(m.width_) &&
                  std::isfinite(m.height_) && m.width_ > 0.0 && m.height_ != 0.0;
    return m;
}

PixelPoint ScaleMapping::toPixel(double x, double y, int width, int height) const noexcept {
    if (!userScale_) {
        return {x, y};
    }
    // Divide first: the quotient is the fraction of the area, and a far point overflows to an
    // infinity rather than wrapping or losing its sign.
    return {(x - x1_) / width_ * (width - 1), (y - y1_) / height_ * (height - 1)};
}

namespace {

/// One Liang-Barsky boundary: keeps the part of the parameter range [t0, t1] where
/// p * t <= q.
bool clipBoundary(double p, double q, double& t0, double& t1) {
    if (p == 0.0) {
        return q >= 0.0;
    }
    const double r = q / p;
    if (p < 0.0) {
        if (r > t1) {
            return false;
        }
        t0 = std::max(t0, r);
    } else {
        if (r < t0) {
            return false;
        }
        t1 = std::min(t1, r);
    }
    return true;
}

int toWholePixel(double v, double low, double high) {
    // The clamp only absorbs rounding of the clip: after it the value fits an int with room.
    return static_cast<int>(std::floor(std::clamp(v, low, high) + 0.5));
}

} // namespace

std::optional<PixelLine> clipToPixels(PixelPoint a, PixelPoint b, int width, int height) {
    if (width <= 0 || height <= 0) {
        return std::nullopt;
    }
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    // A non-finite difference also catches ends so far apart that their distance overflows.
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(dx) || !std::isfinite(dy)) {
        return std::nullopt;
    }
    const double left = -1.0;
    const double top = -1.0;
    const double right = width;
    const double bottom = height;
    double t0 = 0.0;
    double t1 = 1.0;
    if (!clipBoundary(-dx, a.x - left, t0, t1) || !clipBoundary(dx, right - a.x, t0, t1) ||
        !clipBoundary(-dy, a.y - top, t0, t1) || !clipBoundary(dy, bottom - a.y, t0, t1)) {
        return std::nullopt;
    }
    const PixelPoint start = t0 > 0.0 ? PixelPoint{a.x + t0 * dx, a.y + t0 * dy} : a;
    const PixelPoint end = t1 < 1.0 ? PixelPoint{a.x + t1 * dx, a.y + t1 * dy} : b;
    return PixelLine{toWholePixel(start.x, left, right), toWholePixel(start.y, top, bottom),
                     toWholePixel(end.x, left, right), toWholePixel(end.y, top, bottom)};
}

} // namespace ombrelis::ui

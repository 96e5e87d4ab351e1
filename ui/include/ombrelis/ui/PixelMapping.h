#pragma once

#include <optional>

namespace ombrelis::ui {

/// A position in pixels, not yet rounded: x right, y down, pixel centres on whole numbers.
struct PixelPoint {
    double x;
    double y;
};

/// A line in whole pixels, ready for the rasteriser: both ends lie within one pixel of the
/// drawing area.
struct PixelLine {
    int x1;
    int y1;
    int x2;
    int y2;
    bool operator==(const PixelLine&) const = default;
};

/// How a surface's user scale lands on its pixels.
class ScaleMapping {
public:
    /// The scale a surface has before any is set: one unit per pixel, x right, y down.
    static ScaleMapping pixels() { return ScaleMapping(); }
    /// (x1, y1) lands on the centre of the upper-left pixel and (x2, y2) on the centre of the
    /// lower-right one, so that the bottom edge of a chart (y = y2) is its bottom pixel row.
    static ScaleMapping user(double x1, double y1, double x2, double y2);

    /// False when nothing can be drawn in this scale: a width x2 - x1 that is zero, negative
    /// or not finite, or a height y2 - y1 that is zero or not finite (either sign of the height
    /// is a direction, y growing upwards when y1 > y2).
    bool drawable() const noexcept { return drawable_; }

    /// Pixel position of (x, y) on an area `width` x `height` pixels; not finite when the
    /// point is absurdly far or not a number.
    PixelPoint toPixel(double x, double y, int width, int height) const noexcept;

private:
    ScaleMapping() = default;

    bool userScale_ = false;
    bool drawable_ = true;
    double x1_ = 0.0;
    double y1_ = 0.0;
    double width_ = 1.0;
    double height_ = 1.0;
};

/// The part of the line from `a` to `b` that can show on an area `width` x `height`, in whole
/// pixels; none when no part of it can, when the area is empty or when a coordinate is not
/// finite. The line is cut at one pixel outside the area, so that a line running off an edge
/// is drawn up to that edge and the rasteriser never sees a far-away coordinate.
std::optional<PixelLine> clipToPixels(PixelPoint a, PixelPoint b, int width, int height);

} // namespace ombrelis::ui

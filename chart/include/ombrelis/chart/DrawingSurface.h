#pragma once

#include <ombrelis/chart/Colours.h>

namespace ombrelis::chart {

enum class DashStyle { Solid = 0, Dotted = 2 };

/// The drawing operations the strip chart needs, and no others. Positions are in the user
/// scale last set; lines reaching outside the drawing area are clipped by the surface.
class DrawingSurface {
public:
    virtual ~DrawingSurface() = default;
    /// Paints the whole area with the background colour.
    virtual void clear() = 0;
    /// (x1, y1) addresses the upper-left corner, (x2, y2) the lower-right; y1 > y2 makes y
    /// grow upwards.
    virtual void setScale(double x1, double y1, double x2, double y2) = 0;
    /// Line in the pen's colour and dash style; the pen ends at (x2, y2).
    virtual void line(float x1, float y1, float x2, float y2) = 0;
    /// Line from the pen position; the pen ends at (x2, y2).
    virtual void lineTo(float x2, float y2) = 0;
    virtual Colour penColour() = 0;
    virtual void setPenColour(Colour colour) = 0;
    virtual void setDashStyle(DashStyle style) = 0;
    virtual void setPenX(float x) = 0;
    virtual float penY() = 0;
    virtual void setPenY(float y) = 0;
};

} // namespace ombrelis::chart

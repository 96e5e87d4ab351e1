#pragma once

#include <ombrelis/chart/DrawingSurface.h>
#include <string>
#include <vector>

namespace ombrelis::testing {

/// A line as the surface drew it: its ends in the scale then in force, its pen.
struct DrawnLine {
    float x1, y1, x2, y2;
    chart::Colour colour;
    chart::DashStyle dash;
    bool operator==(const DrawnLine&) const = default;
};

/// A drawing surface that keeps, instead of pixels, the lines drawn since the last clear and
/// the state a real surface keeps (scale, pen position, colour and dash, all as the real one
/// starts them).
class RecordingSurface final : public chart::DrawingSurface {
public:
    void clear() override;
    void setScale(double x1, double y1, double x2, double y2) override;
    void line(float x1, float y1, float x2, float y2) override;
    void lineTo(float x2, float y2) override;
    chart::Colour penColour() override;
    void setPenColour(chart::Colour colour) override;
    void setDashStyle(chart::DashStyle style) override;
    void setPenX(float x) override;
    float penY() override;
    void setPenY(float y) override;

    chart::Colour currentColour() const { return colour_; }
    chart::DashStyle currentDash() const { return dash_; }
    /// The last scale set, as "x1, y1, x2, y2"; "none" before the first.
    const std::string& currentScale() const { return scale_; }
    /// Lines drawn since the last clear.
    const std::vector<DrawnLine>& lines() const { return lines_; }
    int clears() const { return clears_; }

    /// Shortest text that reads back as the same number: 120000, 2048, 0.5, inf, nan.
    static std::string number(double value);

private:
    std::string scale_ = "none";
    float penX_ = 0.0F;
    float penY_ = 0.0F;
    chart::Colour colour_ = chart::kTraceColour;
    chart::DashStyle dash_ = chart::DashStyle::Solid;
    std::vector<DrawnLine> lines_;
    int clears_ = 0;
};

} // namespace ombrelis::testing

#pragma once

#include <ombrelis/chart/StripChart.h>
#include <ombrelis/engine/TextNumber.h>
#include <ombrelis/ui/ChartWidget.h>
#include <string>

namespace ombrelis::testing {

/// The window's strip chart on a ChartWidget, driven as a run drives it: a reset to the width of
/// the axis text, and a sample's segment, which is a line from the pen to (x, y).
struct ChartDriver {
    ui::ChartWidget& widget;
    platform::Clock& clock;
    const std::string& axisText;
    chart::StripChart chart{widget, clock};

    void InitCourbe() {
        chart.InitCourbe([this] { return engine::axisWidthMs(axisText); });
    }
    void segmentTo(float x, float y) { widget.lineTo(x, y); }
};

} // namespace ombrelis::testing

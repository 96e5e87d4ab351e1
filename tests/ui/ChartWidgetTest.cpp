#include "ChartDriver.h"

#include <QImage>
#include <gtest/gtest.h>
#include <limits>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/FakeClock.h>
#include <ombrelis/ui/ChartWidget.h>
#include <ostream>
#include <string>

namespace chart = ombrelis::chart;
namespace fake = ombrelis::testing;
namespace ui = ombrelis::ui;

namespace {

const QRgb kBackground = qRgb(64, 64, 64);
const QRgb kGreen = qRgb(0, 192, 0);
const QRgb kRed = qRgb(255, 0, 0);

/// A chart on a hidden widget of 301 x 201 pixels: the chart's scale then puts every
/// 1/300 of the axis and every 4096/200 counts on a whole pixel.
struct WidgetRig {
    ui::ChartWidget widget;
    fake::FakeClock clock;
    std::string axisText = "120";
    fake::ChartDriver chart{widget, clock, axisText};

    explicit WidgetRig(int width = 301, int height = 201) { widget.resize(width, height); }
    QRgb at(int x, int y) const { return widget.image().pixel(x, y); }
    int countInRow(int y, QRgb colour) const {
        int n = 0;
        for (int x = 0; x < widget.image().width(); ++x) {
            n += at(x, y) == colour ? 1 : 0;
        }
        return n;
    }
    bool onlyBackground() const {
        const QImage& image = widget.image();
        for (int y = 0; y < image.height(); ++y) {
            if (countInRow(y, kBackground) != image.width()) {
                return false;
            }
        }
        return true;
    }
};

TEST(ChartWidget, StartsInTheLayoutsColoursWithThePenAtTheOriginAndAClearMakesItBlankAgain) {
    WidgetRig r;
    EXPECT_EQ(r.widget.penColour(), chart::rgb(0, 192, 0));
    EXPECT_EQ(r.widget.penY(), 0.0F);
    EXPECT_EQ(r.widget.image().size(), QSize(301, 201));
    EXPECT_TRUE(r.onlyBackground());
    r.chart.InitCourbe();
    r.chart.segmentTo(60000.0F, 4000.0F);
    r.widget.clear();
    EXPECT_TRUE(r.onlyBackground());
}

TEST(ChartWidget, ResetDrawsDottedRedGridLinesAtTheirHeightsAndNothingElse) {
    WidgetRig r;
    r.chart.InitCourbe();
    // 2048, 1024 and 3072 counts of 4096 over rows 200 (bottom) to 0 (top).
    for (const int row : {100, 150, 50}) {
        const int red = r.countInRow(row, kRed);
        EXPECT_GT(red, 301 / 4) << "row " << row;
        EXPECT_EQ(red + r.countInRow(row, kBackground), 301) << "row " << row;
        EXPECT_GT(r.countInRow(row, kBackground), 301 / 4) << "dotted, row " << row;
    }
    for (const int row : {0, 49, 51, 99, 101, 149, 151, 200}) {
        EXPECT_EQ(r.countInRow(row, kBackground), 301) << "row " << row;
    }
}

TEST(ChartWidget, SegmentIsDrawnGreenWhereTheScalePutsIt) {
    WidgetRig r;
    r.chart.InitCourbe();
    r.chart.segmentTo(0.0F, 512.0F);     // up the left edge from the corner
    r.chart.segmentTo(60000.0F, 512.0F); // half-way across, 1/8 of the way up: row 175
    for (int x = 0; x <= 150; ++x) {
        EXPECT_EQ(r.at(x, 175), kGreen) << "x " << x;
    }
    EXPECT_EQ(r.at(151, 175), kBackground);
    EXPECT_EQ(r.at(75, 174), kBackground);
    EXPECT_EQ(r.at(75, 176), kBackground);
    for (int y = 175; y <= 200; ++y) {
        EXPECT_EQ(r.at(0, y), kGreen) << "y " << y;
    }
}

TEST(ChartWidget, SegmentRunningOffTheRightEdgeIsClipped) {
    WidgetRig r;
    r.chart.InitCourbe();
    r.widget.setPenY(1024.0F);
    r.chart.segmentTo(1e9F, 1024.0F); // long past the axis: clipped, the grid row turns green
    EXPECT_EQ(r.countInRow(150, kGreen), 301);
}

TEST(ChartWidget, BeforeAnyScaleUnitsArePixelsWithYDown) {
    WidgetRig r;
    r.widget.line(2.0F, 3.0F, 2.0F, 3.0F);
    EXPECT_EQ(r.at(2, 3), kGreen);
    r.widget.lineTo(2.0F, 10.0F);
    EXPECT_EQ(r.at(2, 10), kGreen);
    EXPECT_EQ(r.widget.penY(), 10.0F);
}

struct AxisCase {
    const char* text;
    friend void PrintTo(const AxisCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class UndrawableAxis : public testing::TestWithParam<AxisCase> {};

TEST_P(UndrawableAxis, DrawsNothingAndKeepsThePenMoving) {
    WidgetRig r;
    r.axisText = GetParam().text;
    r.chart.InitCourbe();
    r.chart.segmentTo(5.0F, 2000.0F);
    r.chart.segmentTo(1e30F, std::numeric_limits<float>::infinity());
    EXPECT_TRUE(r.onlyBackground());
    EXPECT_EQ(r.widget.penY(), std::numeric_limits<float>::infinity());
}

INSTANTIATE_TEST_SUITE_P(Cases, UndrawableAxis,
                         testing::Values(AxisCase{""}, AxisCase{"0"}, AxisCase{"-5"}),
                         fake::NamedAfterValue{});

TEST(ChartWidget, AxisBeyondSinglePrecisionDrawsNoGridAndPutsSamplesOnTheLeftColumn) {
    // 1e300 s is 1e303 ms: a finite scale, but the grid's ends are infinite in single
    // precision and such a line is not drawn.
    WidgetRig r;
    r.axisText = "1e300";
    r.chart.InitCourbe();
    EXPECT_TRUE(r.onlyBackground());
    r.chart.segmentTo(60000.0F, 4096.0F);
    EXPECT_EQ(r.countInRow(0, kGreen), 1);
    EXPECT_EQ(r.at(0, 0), kGreen);
}

TEST(ChartWidget, NotANumberAndInfiniteCoordinatesDrawNothing) {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    WidgetRig r;
    r.chart.InitCourbe();
    const QImage before = r.widget.image().copy();
    r.widget.line(kNaN, 100.0F, 1000.0F, 100.0F);
    r.widget.line(0.0F, kInf, 1000.0F, 100.0F);
    r.widget.line(-kInf, 100.0F, kInf, 100.0F);
    r.widget.lineTo(kNaN, kNaN);
    r.widget.lineTo(10.0F, 10.0F); // from a pen that is not a number
    r.widget.setPenX(0.0F);
    r.widget.setPenY(-kInf);
    r.chart.segmentTo(10.0F, 10.0F);
    EXPECT_EQ(r.widget.image(), before);
}

// One widget resized from size to size, none among them too small: a backing image of the size,
// and a segment along the bottom row drawn over the grid (the segment is the last line).
TEST(ChartWidget, EverySizeFromNothingUpTakesAResetAndSegments) {
    WidgetRig r;
    r.chart.InitCourbe();
    for (const QSize size :
         {QSize(500, 100), QSize(0, 0), QSize(0, 3), QSize(3, 0), QSize(1, 1), QSize(1, 3),
          QSize(3, 1), QSize(2, 2), QSize(3, 3), QSize(40, 300), QSize(30, 200)}) {
        SCOPED_TRACE(std::to_string(size.width()) + "x" + std::to_string(size.height()));
        r.widget.resize(size);
        r.chart.InitCourbe();
        r.chart.segmentTo(120000.0F, 0.0F);
        r.chart.segmentTo(std::numeric_limits<float>::quiet_NaN(), 1.0F);
        r.widget.flushNow();
        if (size.isEmpty()) {
            EXPECT_TRUE(r.widget.image().isNull());
            continue;
        }
        ASSERT_EQ(r.widget.image().size(), size);
        EXPECT_EQ(r.countInRow(size.height() - 1, kGreen), size.width());
    }
}

} // namespace

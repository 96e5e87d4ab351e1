#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <limits>
#include <ombrelis/chart/StripChart.h>
#include <ombrelis/testing/FakeClock.h>
#include <ombrelis/testing/RecordingSurface.h>
#include <stdexcept>

namespace chart = ombrelis::chart;
namespace fake = ombrelis::testing;
using fake::DrawnLine;
using testing::ElementsAre;
using testing::IsEmpty;

namespace {

constexpr auto kSolid = chart::DashStyle::Solid;
constexpr auto kDotted = chart::DashStyle::Dotted;
constexpr chart::Colour kRed = chart::rgb(255, 0, 0);
constexpr chart::Colour kGreen = chart::rgb(0, 192, 0);

struct ChartRig {
    fake::RecordingSurface surface;
    fake::FakeClock clock{5000};
    chart::StripChart chart{surface, clock};
    void reset(double axisMs) {
        chart.InitCourbe([axisMs] { return axisMs; });
    }
};

TEST(StripChart, FirstSweepHasTheRedDottedGridAndStartsItsLineAtTheBottomLeftCorner) {
    ChartRig r;
    r.reset(120000.0);
    EXPECT_EQ(r.surface.currentScale(), "0, 4096, 120000, 0");
    EXPECT_EQ(r.chart.T0Courbe(), 5000);
    r.chart.plot(6000, 2051.0F);
    r.chart.plot(6004, 2052.0F);
    EXPECT_THAT(r.surface.lines(), ElementsAre(DrawnLine{0, 2048, 120000, 2048, kRed, kDotted},
                                               DrawnLine{0, 1024, 120000, 1024, kRed, kDotted},
                                               DrawnLine{0, 3072, 120000, 3072, kRed, kDotted},
                                               DrawnLine{0, 0, 1000, 2051, kGreen, kSolid},
                                               DrawnLine{1000, 2051, 1004, 2052, kGreen, kSolid}));
}

TEST(StripChart, AResetWipesTheSweepKeepsThePensHeightAndGivesBackThePenItFound) {
    ChartRig r;
    const chart::Colour blue = chart::rgb(0, 0, 255);
    r.surface.setPenColour(blue);
    r.reset(120000.0);
    r.chart.plot(75000, 3000.5F);
    r.clock.advance(70000);
    r.reset(60000.0);
    EXPECT_EQ(r.surface.clears(), 2);
    EXPECT_EQ(r.surface.currentScale(), "0, 4096, 60000, 0");
    EXPECT_EQ(r.chart.T0Courbe(), 75000);
    r.chart.plot(75003, 1500.0F);
    EXPECT_EQ(r.surface.lines().size(), 4U) << "the grid and the new segment only";
    EXPECT_EQ(r.surface.lines().back(), (DrawnLine{0, 3000.5F, 3, 1500, blue, kSolid}));
}

TEST(StripChart, BeyondSinglePrecisionTheGridEndsAtInfinityAndTheScaleKeepsTheDouble) {
    ChartRig r;
    r.reset(1e303);
    EXPECT_EQ(r.surface.currentScale(), "0, 4096, 1e+303, 0");
    EXPECT_EQ(r.surface.lines().front().x2, std::numeric_limits<float>::infinity());
}

TEST(StripChart, AnAxisThatCannotBeReadLeavesTheChartWipedAndT0CourbeAndThePenAsTheyWere) {
    ChartRig r;
    r.reset(120000.0);
    r.chart.plot(5100, 2500.0F);
    r.clock.advance(777);
    EXPECT_THROW(r.chart.InitCourbe([]() -> double { throw std::overflow_error("1e400"); }),
                 std::overflow_error);
    EXPECT_THAT(r.surface.lines(), IsEmpty());
    EXPECT_EQ(r.surface.currentScale(), "0, 4096, 120000, 0");
    EXPECT_EQ(r.chart.T0Courbe(), 5000);
    EXPECT_EQ(r.surface.currentColour(), kGreen);
    EXPECT_EQ(r.surface.currentDash(), kSolid);
}

} // namespace

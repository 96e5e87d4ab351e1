#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <ombrelis/chart/StripChart.h>
#include <ombrelis/engine/TextNumber.h>
#include <ombrelis/testing/FakeClock.h>
#include <ombrelis/testing/RecordingSurface.h>
#include <ostream>
#include <string>
#include <vector>

namespace chart = ombrelis::chart;
namespace engine = ombrelis::engine;
namespace fake = ombrelis::testing;
using testing::ElementsAre;
using testing::ElementsAreArray;
using testing::IsEmpty;

namespace {

constexpr chart::Colour kGreen = chart::rgb(0, 192, 0);

/// A chart over a recording surface and a fake clock, all writing to one journal; the axis
/// field's text can be changed between calls and each reading of it is journalled too.
struct ChartRig {
    fake::Journal journal;
    fake::RecordingSurface surface{journal};
    fake::FakeClock clock{5000, &journal};
    std::string axisText = "120";
    chart::StripChart chart{surface, clock, [this] {
                                journal.add("axis");
                                return axisText;
                            }};

    std::vector<std::string> resetJournal() {
        journal.clear();
        chart.InitCourbe();
        return journal.entries();
    }
};

/// The operations of one reset with axis width `a` and a pen at height `penHeight`; the grid
/// lines end at `lineEnd`, `a` in single precision.
std::vector<std::string> resetSequence(const std::string& a, const std::string& penHeight,
                                       chart::Colour restored, std::string lineEnd = {}) {
    if (lineEnd.empty()) {
        lineEnd = a;
    }
    return {"penY",
            "clear",
            "axis",
            "setScale(0, 4096, " + a + ", 0)",
            "penColour",
            "setPenColour(255)",
            "setDashStyle(dotted)",
            "axis",
            "line(0, 2048, " + lineEnd + ", 2048)",
            "axis",
            "line(0, 1024, " + lineEnd + ", 1024)",
            "axis",
            "line(0, 3072, " + lineEnd + ", 3072)",
            "setDashStyle(solid)",
            "setPenColour(" + std::to_string(restored) + ")",
            "setPenX(0)",
            "setPenY(" + penHeight + ")",
            "tick"};
}

TEST(InitCourbe, DrawsTheGridInItsFourteenStepsThenReadsTheClock) {
    ChartRig b;
    EXPECT_THAT(b.resetJournal(), ElementsAreArray(resetSequence("120000", "0", kGreen)));
    EXPECT_EQ(b.chart.T0Courbe(), 5000);
    EXPECT_EQ(b.clock.reads(), 1);
}

TEST(InitCourbe, GivesBackThePenColourItFoundNotTheTraceColour) {
    ChartRig b;
    const chart::Colour blue = chart::rgb(0, 0, 255);
    b.surface.setPenColour(blue);
    EXPECT_THAT(b.resetJournal(), ElementsAreArray(resetSequence("120000", "0", blue)));
    b.chart.segmentTo(10.0F, 2000.0F);
    EXPECT_EQ(b.surface.lines().back(),
              (fake::DrawnLine{0.0F, 0.0F, 10.0F, 2000.0F, blue, chart::DashStyle::Solid}));
}

TEST(InitCourbe, CarriesThePenHeightAcrossAResetAndMovesItToTheLeftEdge) {
    ChartRig b;
    b.chart.InitCourbe();
    b.chart.segmentTo(70000.0F, 3000.5F);
    EXPECT_THAT(b.resetJournal(), ElementsAreArray(resetSequence("120000", "3000.5", kGreen)));

    b.chart.segmentTo(3.0F, 1500.0F);
    EXPECT_EQ(b.surface.lines().back(),
              (fake::DrawnLine{0.0F, 3000.5F, 3.0F, 1500.0F, kGreen, chart::DashStyle::Solid}));
}

TEST(StripChart, BeforeTheFirstResetThePenStandsAtTheOriginAndTheResetKeepsIt) {
    ChartRig b;
    EXPECT_THAT(b.resetJournal(), ElementsAreArray(resetSequence("120000", "0", kGreen)));
    b.chart.segmentTo(1000.0F, 2051.0F);
    EXPECT_EQ(b.surface.lines().back(),
              (fake::DrawnLine{0.0F, 0.0F, 1000.0F, 2051.0F, kGreen, chart::DashStyle::Solid}));
}

TEST(StripChart, SegmentIsOneLineFromThePenAndNothingElse) {
    ChartRig b;
    b.chart.InitCourbe();
    b.journal.clear();
    b.chart.segmentTo(12.0F, 4095.0F);
    b.chart.segmentTo(13.0F, 0.0F);
    EXPECT_THAT(b.journal.entries(), ElementsAre("lineTo(12, 4095)", "lineTo(13, 0)"));
}

TEST(StripChart, TypedAxisChangesTheLimitAtOnceButTheScaleOnlyAtTheNextReset) {
    ChartRig b;
    b.chart.InitCourbe();
    const std::int64_t t0 = b.chart.T0Courbe();

    b.axisText = "60"; // typed into the field, no entry picked: no reset
    const double limit = engine::axisWidthMs(b.axisText);
    EXPECT_FALSE(chart::sweepIsFull(t0 + 60000, t0, limit));
    EXPECT_TRUE(chart::sweepIsFull(t0 + 60001, t0, limit));
    b.chart.segmentTo(60001.0F, 2000.0F);
    EXPECT_EQ(b.surface.currentScale(), "0, 4096, 120000, 0");

    b.chart.InitCourbe();
    EXPECT_EQ(b.surface.currentScale(), "0, 4096, 60000, 0");
}

struct AxisCase {
    const char* text;
    const char* width;
    friend void PrintTo(const AxisCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }
};

class AxisText : public testing::TestWithParam<AxisCase> {};

TEST_P(AxisText, GoesThroughTheTextToNumberRuleIntoTheScaleAndTheGrid) {
    ChartRig b;
    b.axisText = GetParam().text;
    EXPECT_THAT(b.resetJournal(), ElementsAreArray(resetSequence(GetParam().width, "0", kGreen)));
}

INSTANTIATE_TEST_SUITE_P(Cases, AxisText,
                         testing::Values(AxisCase{"30", "30000"}, AxisCase{" 1 8 0 ", "180000"},
                                         AxisCase{"2.5", "2500"}, AxisCase{"&H10", "16000"},
                                         AxisCase{"", "0"}, AxisCase{"secondes", "0"},
                                         AxisCase{"-5", "-5000"}));

TEST(InitCourbe, BeyondSinglePrecisionTheGridEndsAtInfinityAndTheScaleKeepsTheDouble) {
    ChartRig b;
    b.axisText = "1e300";
    EXPECT_THAT(b.resetJournal(), ElementsAreArray(resetSequence("1e+303", "0", kGreen, "inf")));
}

TEST(InitCourbe, AxisTooLargeForADoubleThrowsAndLeavesT0CourbeAndThePen) {
    ChartRig b;
    b.chart.InitCourbe();
    b.chart.segmentTo(100.0F, 2500.0F);
    b.clock.advance(777);
    b.axisText = "1e400";

    b.journal.clear();
    EXPECT_THROW(b.chart.InitCourbe(), engine::NumberTooLarge);
    EXPECT_THAT(b.journal.entries(), ElementsAre("penY", "clear", "axis"));
    EXPECT_EQ(b.chart.T0Courbe(), 5000);
    EXPECT_EQ(b.surface.currentColour(), kGreen);
    EXPECT_EQ(b.surface.currentDash(), chart::DashStyle::Solid);
}

TEST(InitCourbe, AxisTurningUnreadableDuringTheGridGivesThePenBackBeforeThrowing) {
    fake::Journal journal;
    fake::RecordingSurface surface{journal};
    fake::FakeClock clock{5000, &journal};
    int reads = 0;
    chart::StripChart chart{surface, clock, [&] { return ++reads < 3 ? "120" : "9e999"; }};
    surface.setPenY(1234.0F);

    EXPECT_THROW(chart.InitCourbe(), engine::NumberTooLarge);
    EXPECT_EQ(surface.currentColour(), kGreen);
    EXPECT_EQ(surface.currentDash(), chart::DashStyle::Solid);
    EXPECT_EQ(surface.currentPenX(), 0.0F);
    EXPECT_EQ(surface.currentPenY(), 1234.0F);
    EXPECT_THAT(journal.only("tick"), IsEmpty());
}

} // namespace

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/logtool/PlotTrace.h>
#include <ombrelis/testing/LogBytes.h>

using namespace ombrelis::logtool;
using ombrelis::testing::logBytes;
using ombrelis::testing::rec;
using ombrelis::testing::traceOf;

namespace {

TEST(PlotLayout, NiceStepsAreOneTwoOrFiveTimesAPowerOfTen) {
    struct Row {
        double span;
        int maxTicks;
        double step;
    };
    for (const Row row : {Row{60, 10, 10}, Row{59.9, 6, 10}, Row{1, 10, 0.1}, Row{7200, 8, 1000},
                          Row{0.003, 5, 0.001}, Row{100, 3, 50}, Row{0, 5, 1}, Row{-4, 5, 1},
                          Row{1e300 * 1e10, 5, 1}}) {
        EXPECT_DOUBLE_EQ(niceStep(row.span, row.maxTicks), row.step) << row.span;
    }
}

TEST(PlotLayout, VoltsAndSecondsMapOntoTheChartEdges) {
    const PlotLayout l = layoutPlot(1200, 600, 0, 59.9);
    EXPECT_GT(l.area.left, 0);
    EXPECT_GT(l.area.top, 0);
    EXPECT_LT(l.area.right(), 1200);
    EXPECT_LT(l.area.bottom(), 600);
    EXPECT_DOUBLE_EQ(l.xOf(0), l.area.left);
    EXPECT_DOUBLE_EQ(l.xOf(59.9), l.area.right());
    EXPECT_DOUBLE_EQ(l.yOf(0), l.area.bottom());
    EXPECT_NEAR(l.yOf(kFullScaleVolts), l.area.top, 1e-9);
    EXPECT_NEAR(l.yOf(2.048), l.area.top + l.area.height / 2, 1e-9);
    EXPECT_EQ(l.gridVolts, (std::vector<double>{1, 2, 3}));

    ASSERT_EQ(l.voltTicks.size(), 5u);
    EXPECT_EQ(l.voltTicks.front().label, "0 V");
    EXPECT_EQ(l.voltTicks.back().label, "4 V");

    ASSERT_FALSE(l.timeTicks.empty());
    EXPECT_EQ(l.timeTicks.front().label, "0");
    for (const AxisTick& t : l.timeTicks) {
        EXPECT_GE(t.pixel, l.area.left - 1e-9);
        EXPECT_LE(t.pixel, l.area.right() + 1e-9);
    }
}

TEST(PlotLayout, TickLabelsCarryTheDecimalsOfTheStep) {
    const PlotLayout shortRun = layoutPlot(1200, 600, 0, 0.9);
    ASSERT_GE(shortRun.timeTicks.size(), 3u);
    EXPECT_EQ(shortRun.timeTicks[1].label, "0,1");
    const PlotLayout negative = layoutPlot(1200, 600, -20, 20);
    EXPECT_TRUE(std::any_of(negative.timeTicks.begin(), negative.timeTicks.end(),
                            [](const AxisTick& t) { return t.label == "0"; }));
    EXPECT_EQ(negative.timeTicks.front().label, "-20");
}

TEST(PlotLayout, DegenerateSizesAndSpansStayFinite) {
    using Pair = std::pair<double, double>;
    for (const auto& [w, h] :
         std::vector<Pair>{{0, 0}, {1, 1}, {160, 120}, {8000, 8000}, {-5, 10}}) {
        for (const auto& [a, b] :
             std::vector<Pair>{{0, 0}, {5, 1}, {0, std::nan("")}, {-2147483.648, 2147483.647}}) {
            const PlotLayout l = layoutPlot(w, h, a, b);
            EXPECT_GE(l.area.width, 0);
            EXPECT_GE(l.area.height, 0);
            EXPECT_GT(l.lastSeconds, l.firstSeconds);
            EXPECT_TRUE(std::isfinite(l.xOf(a)) || !std::isfinite(a));
            EXPECT_LT(l.timeTicks.size(), 200u);
        }
    }
}

TEST(PlotLayout, TimeSpanRunsFromTheSmallestToTheLargestStamp) {
    const auto bytes = logBytes({rec(1, "", 500), rec(1, "", -250), rec(1, "", 2000)});
    EXPECT_EQ(traceOf(bytes).timeSpanSeconds(), (std::pair{-0.25, 2.0}));
    EXPECT_EQ(traceOf({}).timeSpanSeconds(), (std::pair{0.0, 1.0}));
}

TEST(PlotTrace, ManyRecordsPerColumnKeepTheirExtremesInOrder) {
    std::vector<ombrelis::engine::MesureRec> records;
    for (int i = 0; i < 10000; ++i) {
        // a sawtooth between 1000 and 3000 counts, one tooth per 100 records
        records.push_back(rec(static_cast<std::int16_t>(1000 + 20 * (i % 100)), "", i));
    }
    const auto bytes = logBytes(records);
    const PlotLayout layout = layoutPlot(400, 300, 0, 9.999);
    const std::vector<PlotPoint> points = traceOf(bytes).points(layout);

    EXPECT_LE(points.size(), 4 * static_cast<std::size_t>(std::ceil(layout.area.width) + 1));
    EXPECT_GE(points.size(), static_cast<std::size_t>(layout.area.width));
    const auto [low, high] =
        std::minmax_element(points.begin(), points.end(),
                            [](const PlotPoint& a, const PlotPoint& b) { return a.y < b.y; });
    EXPECT_NEAR(low->y, layout.yOf(2.980), 1e-9);  // highest value, drawn highest
    EXPECT_NEAR(high->y, layout.yOf(1.000), 1e-9); // lowest value
    EXPECT_TRUE(std::is_sorted(points.begin(), points.end(),
                               [](const PlotPoint& a, const PlotPoint& b) { return a.x < b.x; }));
    EXPECT_DOUBLE_EQ(points.front().x, layout.xOf(0));
    EXPECT_DOUBLE_EQ(points.back().x, layout.xOf(9.999));
}

TEST(PlotTrace, SparseRecordsAreAllKept) {
    const auto bytes = logBytes({rec(0, "", 0), rec(4095, "", 1000), rec(2048, "", 2000)});
    const PlotLayout layout = layoutPlot(800, 400, 0, 2);
    const std::vector<PlotPoint> points = traceOf(bytes).points(layout);
    ASSERT_EQ(points.size(), 3u);
    EXPECT_DOUBLE_EQ(points[1].x, layout.xOf(1));
    EXPECT_DOUBLE_EQ(points[1].y, layout.yOf(4.095));
    EXPECT_TRUE(traceOf({}).points(layout).empty());
}

TEST(PlotTrace, BinsMergedManyTimesStillHoldEveryExcursion) {
    std::vector<ombrelis::engine::MesureRec> records;
    for (int i = 0; i < 100000; ++i) {
        const std::int16_t valeur = i == 50000 ? 4095 : i == 70000 ? 0 : 2000;
        records.push_back(rec(valeur, "", i == 80000 ? 10 : i)); // and one stamp going back
    }
    PlotTrace trace(16);
    trace.add(LogView(logBytes(records)));
    const PlotLayout layout = layoutPlot(800, 400, 0, 99.999);
    const std::vector<PlotPoint> points = trace.points(layout);
    EXPECT_LE(points.size(), 4u * 16);
    const auto has = [&](double volts) {
        return std::any_of(points.begin(), points.end(),
                           [&](const PlotPoint& p) { return p.y == layout.yOf(volts); });
    };
    EXPECT_TRUE(has(4.095));
    EXPECT_TRUE(has(0));
    EXPECT_TRUE(has(2));
    EXPECT_EQ(trace.timeSpanSeconds(), (std::pair{0.0, 99.999}));
    EXPECT_EQ(trace.durationMs(), 99999);
}

TEST(PlotTrace, RandomBytesGiveAtMostFourPointsAPixelColumnHeldAtTheChartEdges) {
    const auto bytes = ombrelis::testing::garbage(1 << 20);
    const PlotTrace trace = traceOf(bytes);
    const auto [first, last] = trace.timeSpanSeconds();
    const PlotLayout layout = layoutPlot(1200, 600, first, last);
    const std::vector<PlotPoint> points = trace.points(layout);
    EXPECT_LE(points.size(), 4 * static_cast<std::size_t>(std::ceil(layout.area.width) + 1));
    for (const PlotPoint& p : points) {
        ASSERT_GE(p.y, layout.area.top - 1);
        ASSERT_LE(p.y, layout.area.bottom() + 1);
    }
}

TEST(PlotTitle, NamesTheFileWithoutItsFolderTheRecordsAndTheDuration) {
    EXPECT_EQ(plotTitle("/home/u/mesures.dat", 1234, 123400),
              "mesures.dat — 1234 mesures — 123,400 s (0:02:03,400)");
    EXPECT_EQ(plotTitle("run.dat", 1, 0), "run.dat — 1 mesure — 0,000 s");
    EXPECT_EQ(plotTitle("-", 0, 0), "entrée standard — 0 mesure — 0,000 s");
}

} // namespace

#include <gtest/gtest.h>
#include <limits>
#include <ombrelis/ui/PixelMapping.h>
#include <optional>

using namespace ombrelis::ui;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ScaleMapping, ChartScalePutsItsCornersOnTheCornerPixels) {
    const auto m = ScaleMapping::user(0, 4096, 120000, 0);
    ASSERT_TRUE(m.drawable());
    const struct {
        double x, y, px, py;
    } cases[] = {{0, 4096, 0, 0},          {120000, 0, 300, 200},  {60000, 2048, 150, 100},
                 {0, 0, 0, 200},           {30000, 1024, 75, 150}, {120000, 3072, 300, 50},
                 {240000, -4096, 600, 400}};
    for (const auto& c : cases) {
        const PixelPoint p = m.toPixel(c.x, c.y, 301, 201);
        EXPECT_DOUBLE_EQ(p.x, c.px) << c.x << ", " << c.y;
        EXPECT_DOUBLE_EQ(p.y, c.py) << c.x << ", " << c.y;
    }
}

TEST(ScaleMapping, OnlyAPositiveFiniteWidthAndANonZeroFiniteHeightCanBeDrawnIn) {
    const struct {
        const char* what;
        double x1, y1, x2, y2;
        bool drawable;
    } cases[] = {
        {"chart scale", 0, 4096, 120000, 0, true},
        {"y down", 0, 0, 640, 480, true},
        {"axis empty or 0", 0, 4096, 0, 0, false},
        {"axis -5", 0, 4096, -5000, 0, false},
        {"infinite width", 0, 4096, kInf, 0, false},
        {"width overflows", -1e308, 4096, 1e308, 0, false},
        {"zero height", 0, 4096, 120000, 4096, false},
        {"not a number", kNaN, 4096, 120000, 0, false},
        {"infinite corner", 0, -kInf, 120000, 0, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ScaleMapping::user(c.x1, c.y1, c.x2, c.y2).drawable(), c.drawable) << c.what;
    }
}

TEST(ClipToPixels, KeepsTheVisiblePartInWholePixelsUpToOnePixelOutside) {
    const struct {
        const char* what;
        PixelPoint a, b;
        std::optional<PixelLine> expected;
    } cases[] = {
        {"inside, rounded to nearest", {1.4, 2.6}, {8.5, 2.49}, PixelLine{1, 3, 9, 2}},
        {"runs off the right edge", {5, 5}, {20, 5}, PixelLine{5, 5, 10, 5}},
        {"comes in from the left", {-6, 0}, {4, 10}, PixelLine{-1, 5, 4, 10}},
        {"far diagonal through the area", {-1e12, -1e12}, {1e12, 1e12}, PixelLine{-1, -1, 10, 10}},
        {"far horizontal", {-3e12, 5}, {1e12, 5}, PixelLine{-1, 5, 10, 5}},
        {"wholly right of the area", {11, 0}, {50, 9}, std::nullopt},
        {"wholly above the area", {0, -5}, {9, -2}, std::nullopt},
        {"misses the corner", {8, -5}, {15, 2}, std::nullopt},
        {"a point", {3, 3}, {3, 3}, PixelLine{3, 3, 3, 3}},
        {"not a number", {kNaN, 0}, {5, 5}, std::nullopt},
        {"infinite end", {0, 0}, {kInf, 5}, std::nullopt},
        {"minus infinity", {-kInf, 5}, {0, 5}, std::nullopt},
        {"ends too far apart to subtract", {-1.7e308, 5}, {1.7e308, 5}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(clipToPixels(c.a, c.b, 10, 10), c.expected) << c.what;
    }
}

TEST(ClipToPixels, AbsurdlyFarEndsNeverGiveTheRasteriserAFarCoordinate) {
    // Beyond about 1e15 pixels a double cannot place the crossing to the pixel; what is drawn
    // then is approximate, but always within a pixel of the area.
    const double far[] = {-1e300, -1e30, -1e16, -3.5, 0.0, 4.5, 1e16, 1e30, 1e300};
    for (const double x1 : far) {
        for (const double y1 : far) {
            for (const double x2 : far) {
                for (const double y2 : far) {
                    const auto line = clipToPixels({x1, y1}, {x2, y2}, 10, 10);
                    if (!line) {
                        continue;
                    }
                    for (const int v : {line->x1, line->y1, line->x2, line->y2}) {
                        EXPECT_GE(v, -1);
                        EXPECT_LE(v, 10);
                    }
                }
            }
        }
    }
}

TEST(ClipToPixels, NothingOnAnEmptyArea) {
    for (const auto& [w, h] : {std::pair{0, 0}, std::pair{0, 10}, std::pair{10, 0}}) {
        EXPECT_EQ(clipToPixels({0, 0}, {1, 1}, w, h), std::nullopt) << w << "x" << h;
    }
}

} // namespace

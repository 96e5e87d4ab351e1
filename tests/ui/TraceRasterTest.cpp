#include <QImage>
#include <gtest/gtest.h>
#include <ombrelis/ui/TraceRaster.h>
#include <random>
#include <vector>

namespace ombrelis::testing {
namespace {

using ui::PixelLine;

QImage blank(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::black);
    return image;
}

/// Every line drawn on its own, then the same lines through the merging raster.
void expectSamePixels(const std::vector<std::pair<PixelLine, QRgb>>& lines, int w, int h) {
    QImage oneByOne = blank(w, h);
    QImage merged = blank(w, h);
    ui::TraceRaster raster;
    for (const auto& [line, colour] : lines) {
        ui::rasterizeLine(oneByOne, line, colour);
        raster.line(merged, line, colour);
    }
    raster.flush(merged);
    ASSERT_EQ(oneByOne, merged);
}

TEST(TraceRaster, LinesIncludeBothEndsAndSkipWhatIsOutside) {
    QImage image = blank(5, 5);
    ui::rasterizeLine(image, PixelLine{-1, 2, 5, 2}, qRgb(0, 192, 0));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(image.pixel(x, 2), qRgb(0, 192, 0)) << x;
    }
    EXPECT_EQ(image.pixel(0, 1), qRgb(0, 0, 0));
    QImage diagonal = blank(4, 4);
    ui::rasterizeLine(diagonal, PixelLine{3, 3, 0, 0}, qRgb(255, 0, 0));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(diagonal.pixel(i, i), qRgb(255, 0, 0)) << i;
    }
    QImage empty;
    ui::rasterizeLine(empty, PixelLine{0, 0, 3, 3}, qRgb(255, 0, 0)); // no pixels, no crash
}

TEST(TraceRaster, MergedColumnsGiveThePixelsOfEveryLine) {
    // A trace as a run at period 0 draws it: many joined segments per column, now and then a
    // step to the next column.
    std::mt19937 random(7);
    std::vector<std::pair<PixelLine, QRgb>> lines;
    int x = 0;
    int y = 20;
    for (int i = 0; i < 5000; ++i) {
        const int nextX = (random() % 50 == 0) ? x + 1 + static_cast<int>(random() % 3) : x;
        const int nextY = std::clamp(y + static_cast<int>(random() % 9) - 4, -2, 41);
        lines.push_back({PixelLine{x, y, nextX, nextY}, qRgb(0, 192, 0)});
        x = nextX % 60;
        y = nextY;
    }
    expectSamePixels(lines, 60, 40);
}

TEST(TraceRaster, SpansThatDoNotTouchOrDifferInColourAreNotMerged) {
    const QRgb green = qRgb(0, 192, 0);
    const QRgb red = qRgb(255, 0, 0);
    // Two separate spans in one column: merging them would fill the gap between.
    expectSamePixels({{PixelLine{3, 2, 3, 4}, green}, {PixelLine{3, 8, 3, 9}, green}}, 8, 12);
    // Same column, another colour in between: the order of the writes shows.
    expectSamePixels({{PixelLine{3, 2, 3, 6}, green},
                      {PixelLine{3, 4, 3, 5}, red},
                      {PixelLine{3, 5, 3, 7}, green}},
                     8, 12);
    // A span left pending is written before a line crossing it.
    expectSamePixels({{PixelLine{3, 0, 3, 7}, green}, {PixelLine{0, 4, 7, 4}, red}}, 8, 12);
}

TEST(TraceRaster, ADiscardedSpanIsNeverWritten) {
    QImage image = blank(4, 4);
    ui::TraceRaster raster;
    raster.line(image, PixelLine{1, 0, 1, 3}, qRgb(0, 192, 0));
    raster.discard();
    raster.flush(image);
    EXPECT_EQ(image, blank(4, 4));
}

} // namespace
} // namespace ombrelis::testing

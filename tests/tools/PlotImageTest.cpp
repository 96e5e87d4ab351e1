#include <QColor>
#include <QImageReader>
#include <filesystem>
#include <gtest/gtest.h>
#include <ombrelis/logtool/PlotImage.h>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/testing/LogBytes.h>
#include <ombrelis/testing/TempDir.h>

using namespace ombrelis::logtool;
using ombrelis::testing::logBytes;
using ombrelis::testing::rec;
using ombrelis::testing::traceOf;

namespace {

void needGui() {
    static int argc = 1;
    static char name[] = "plot-tests";
    static char* argv[] = {name, nullptr};
    static OffscreenGui gui(argc, argv);
}

bool isTrace(QRgb c) {
    return qGreen(c) > 150 && qRed(c) < 90 && qBlue(c) < 90;
}
bool isGrid(QRgb c) {
    return qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90;
}

/// Pixels of row `y` inside the chart that satisfy `test`.
template <typename Test>
int countInRow(const QImage& image, const PlotLayout& l, int y, Test test) {
    int n = 0;
    for (int x = static_cast<int>(l.area.left) + 1; x < static_cast<int>(l.area.right()) - 1; ++x) {
        n += test(image.pixel(x, y));
    }
    return n;
}

std::vector<ombrelis::engine::MesureRec> flatRun(std::int16_t valeur) {
    std::vector<ombrelis::engine::MesureRec> records;
    for (int i = 0; i < 50; ++i) {
        records.push_back(rec(valeur, "10:00:00", 200 * i));
    }
    return records;
}

TEST(PlotImage, ReferenceLinesAtOneTwoAndThreeVoltsAndTheTraceAtItsValue) {
    needGui();
    const auto bytes = logBytes(flatRun(2500)); // 2.5 V, between two reference lines
    const QImage image = renderPlot(traceOf(bytes), "flat", 900, 500);
    ASSERT_EQ(image.size(), QSize(900, 500));
    const PlotLayout l = layoutPlot(900, 500, 0, 9.8);
    const int width = static_cast<int>(l.area.width);

    for (const double volts : {1.0, 2.0, 3.0}) {
        const int y = static_cast<int>(std::round(l.yOf(volts)));
        const int red =
            std::max({countInRow(image, l, y - 1, isGrid), countInRow(image, l, y, isGrid),
                      countInRow(image, l, y + 1, isGrid)});
        EXPECT_GT(red, width / 4) << volts << " V line missing";
        EXPECT_LT(red, width) << volts << " V line is not dotted";
    }
    const int traceRow = static_cast<int>(std::round(l.yOf(2.5)));
    EXPECT_GT(countInRow(image, l, traceRow, isTrace), width * 9 / 10);
    // Nothing green far from the trace, nothing red between the lines.
    EXPECT_EQ(countInRow(image, l, static_cast<int>(l.yOf(1.5)), isTrace), 0);
    EXPECT_EQ(countInRow(image, l, static_cast<int>(l.yOf(1.5)), isGrid), 0);
    EXPECT_EQ(image.pixelColor(static_cast<int>(l.area.left) + 3, static_cast<int>(l.yOf(0.5))),
              QColor(64, 64, 64));
}

TEST(PlotImage, ValuesOutsideTheScaleAreClippedToTheChart) {
    needGui();
    const auto bytes = logBytes({rec(-30000, "", 0), rec(30000, "", 1000), rec(-30000, "", 2000)});
    const QImage image = renderPlot(traceOf(bytes), "garbage", 600, 400);
    const PlotLayout l = layoutPlot(600, 400, 0, 2);
    for (int x = 0; x < image.width(); ++x) {
        for (const int y : {1, static_cast<int>(l.area.top) - 2, image.height() - 2}) {
            EXPECT_FALSE(isTrace(image.pixel(x, y))) << x << "," << y;
        }
    }
}

TEST(PlotImage, EmptyLogsAndDegenerateSizesStillGiveAPicture) {
    needGui();
    const auto one = logBytes({rec(2048, "10:00:00", 0)});
    for (const auto& bytes : {std::vector<std::uint8_t>{}, one, logBytes(flatRun(0), 9)}) {
        for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(3, 3), QSize(160, 120)}) {
            const QImage image = renderPlot(traceOf(bytes), "t", size.width(), size.height());
            EXPECT_FALSE(image.isNull());
        }
    }
    const QImage single = renderPlot(traceOf(one), "one", 400, 300);
    const PlotLayout l = layoutPlot(400, 300, 0, 1);
    int green = 0;
    for (int y = 0; y < single.height(); ++y) {
        green += countInRow(single, l, y, isTrace);
    }
    EXPECT_GT(green, 0) << "a single record is drawn as a dot";
}

TEST(PlotImage, SavedAsAPngOfTheAskedSizeOrTheReasonItWasNot) {
    needGui();
    ombrelis::testing::TempDir dir;
    const auto bytes = logBytes(flatRun(1234));
    const std::string path = dir.file("run.png");
    EXPECT_EQ(savePlotPng(traceOf(bytes), PlotRequest{"run", 320, 200, path}), std::nullopt);
    QImageReader reader(QString::fromStdString(path));
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.size(), QSize(320, 200));

    const auto failure =
        savePlotPng(traceOf(bytes), PlotRequest{"run", 320, 200, dir.file("none/run.png")});
    EXPECT_EQ(failure, "aucun fichier ou dossier de ce nom");
    EXPECT_FALSE(std::filesystem::exists(dir.file("none")));
}

} // namespace

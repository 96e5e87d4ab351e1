#include "WindowFixture.h"

#include <QColor>
#include <QImage>
#include <ombrelis/chart/StripChart.h>
#include <ombrelis/testing/LogContents.h>
#include <utility>

namespace ombrelis::testing {

std::vector<engine::MesureRec> WindowTest::readLog(const std::string& path) {
    LogContents log = testing::readLog(path);
    EXPECT_EQ(log.trailingBytes, 0U) << "a partial record in " << path;
    return std::move(log.records);
}

int traceColourPixels(const QImage& image) {
    const QRgb trace = qRgb(0, 192, 0);
    static_assert(chart::kTraceColour == chart::rgb(0, 192, 0));
    int count = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if ((image.pixel(x, y) & 0xFFFFFFU) == (trace & 0xFFFFFFU)) {
                ++count;
            }
        }
    }
    return count;
}

} // namespace ombrelis::testing

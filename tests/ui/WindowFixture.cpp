#include "WindowFixture.h"

#include <QColor>
#include <QImage>
#include <fstream>
#include <iterator>
#include <ombrelis/chart/StripChart.h>

namespace ombrelis::testing {

std::vector<engine::MesureRec> WindowTest::readLog(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    const std::vector<char> bytes{std::istreambuf_iterator<char>(in),
                                  std::istreambuf_iterator<char>()};
    EXPECT_EQ(bytes.size() % engine::kRecordSize, 0U) << "a partial record in " << path;
    std::vector<engine::MesureRec> records;
    for (std::size_t at = 0; at + engine::kRecordSize <= bytes.size(); at += engine::kRecordSize) {
        engine::RecordBytes one{};
        for (std::size_t i = 0; i < engine::kRecordSize; ++i) {
            one[i] = static_cast<std::uint8_t>(bytes[at + i]);
        }
        records.push_back(engine::decode(one));
    }
    return records;
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

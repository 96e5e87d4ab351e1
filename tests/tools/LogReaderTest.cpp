#include <algorithm>
#include <gtest/gtest.h>
#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/logtool/LogCheck.h>
#include <ombrelis/logtool/LogReader.h>
#include <ombrelis/logtool/ReportText.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/LogBytes.h>
#include <sstream>

using namespace ombrelis::logtool;
using ombrelis::testing::garbage;
using ombrelis::testing::logBytes;
using ombrelis::testing::soundRun;
using ombrelis::testing::traceOf;

namespace {

/// Hands out the bytes in pieces of a fixed size, as a pipe or a slow disk would.
class Pieces : public ByteSource {
public:
    Pieces(const std::vector<std::uint8_t>& bytes, std::size_t piece)
        : bytes_(bytes), piece_(piece) {}
    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t n = std::min({piece_, buffer.size(), bytes_.size() - at_});
        std::copy_n(bytes_.begin() + static_cast<std::ptrdiff_t>(at_), n, buffer.begin());
        at_ += n;
        return n;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    std::size_t piece_;
    std::size_t at_ = 0;
};

struct Reading {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::size_t piece;        ///< bytes per read
    std::size_t blockRecords; ///< records per block
};

void PrintTo(const Reading& reading, std::ostream* out) {
    *out << reading.name;
}

class ReadInBlocks : public ::testing::TestWithParam<Reading> {};

// What check, csv and plot make of the log read block by block is what they make of it whole.
TEST_P(ReadInBlocks, GivesWhatTheWholeLogGives) {
    const Reading& r = GetParam();
    const LogView whole(r.bytes);
    Pieces pieces(r.bytes, r.piece);
    LogReader reader(pieces, r.blockRecords);
    LogChecker checker;
    PlotTrace trace(64);
    CsvFormatter formatter;
    std::string csv = std::string(kCsvHeader) + "\n";
    for (LogView block = reader.next(); !block.empty(); block = reader.next()) {
        EXPECT_LE(block.recordCount(), r.blockRecords);
        checker.add(block);
        trace.add(block);
        csv += formatter.lines(block, reader.firstNumber());
    }
    EXPECT_EQ(reader.records(), whole.recordCount());
    EXPECT_EQ(reader.trailingBytes(), whole.trailingBytes());
    EXPECT_EQ(reportText(checker.report(reader.trailingBytes()), "f"),
              reportText(checkLog(whole), "f"));
    std::ostringstream expectedCsv;
    writeCsv(whole, expectedCsv);
    EXPECT_EQ(csv, expectedCsv.str());

    PlotTrace wholeTrace(64);
    wholeTrace.add(whole);
    const PlotLayout layout = layoutPlot(800, 400, 0, 10);
    const auto points = trace.points(layout);
    const auto expected = wholeTrace.points(layout);
    ASSERT_EQ(points.size(), expected.size());
    for (std::size_t i = 0; i < points.size(); ++i) {
        EXPECT_EQ(points[i].x, expected[i].x);
        EXPECT_EQ(points[i].y, expected[i].y);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pieces, ReadInBlocks,
    ::testing::Values(Reading{"byte_by_byte", logBytes(soundRun(40), 9), 1, 7},
                      Reading{"one_short_of_a_record", logBytes(soundRun(40)), 13, 3},
                      Reading{"a_record_and_a_byte", garbage(14 * 50 + 3), 15, 1},
                      Reading{"large_reads_small_blocks", garbage(14 * 300), 4096, 16},
                      Reading{"damaged_mid_block",
                              [] {
                                  auto bytes = logBytes(soundRun(30));
                                  const auto tail = garbage(14 * 5);
                                  bytes.insert(bytes.end(), tail.begin(), tail.end());
                                  return bytes;
                              }(),
                              5, 8},
                      Reading{"empty", {}, 14, 4}),
    ombrelis::testing::NamedAfterName{});

} // namespace

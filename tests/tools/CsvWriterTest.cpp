#include <gtest/gtest.h>
#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/testing/LogBytes.h>

using namespace ombrelis::logtool;
using ombrelis::testing::rec;

namespace {

TEST(Csv, VoltsAreExactThousandthsOfTheCount) {
    struct Row {
        std::int32_t counts;
        const char* volts;
    };
    for (const Row row : {Row{0, "0.000"}, Row{1, "0.001"}, Row{999, "0.999"}, Row{1000, "1.000"},
                          Row{2051, "2.051"}, Row{4095, "4.095"}, Row{-5, "-0.005"},
                          Row{-32768, "-32.768"}, Row{32767, "32.767"}}) {
        EXPECT_EQ(voltsText(row.counts), row.volts) << row.counts;
    }
}

TEST(Csv, DamagedHeureStaysOneFieldAndShowsEveryByte) {
    struct Row {
        std::string heure; // 8 bytes
        const char* field;
    };
    for (const Row& row : {Row{"12,00,00", "\"12,00,00\""}, Row{"12\"00:00", "\"12\"\"00:00\""},
                           Row{std::string("\x01\xFF\\:00:0", 8), "\\x01\\xFF\\x5C:00:0"},
                           Row{"12:00:0\n", "12:00:0\\x0A"}}) {
        const std::string line = csvLine(3, rec(-2, row.heure, -7));
        EXPECT_EQ(line, std::string("3,-2,") + row.field + ",-7,-0.002");
    }
}

} // namespace

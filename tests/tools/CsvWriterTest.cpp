#include <gtest/gtest.h>
#include <ombrelis/logtool/CsvWriter.h>
#include <ombrelis/testing/LogBytes.h>

using namespace ombrelis::logtool;
using ombrelis::testing::logBytes;
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

// Quoted only for the separator of its own style: a spreadsheet with French settings splits a
// line at ';' and takes ',' as the decimal comma.
TEST(Csv, DamagedHeureStaysOneFieldAndShowsEveryByte) {
    struct Row {
        std::string heure; // 8 bytes
        const char* plain;
        const char* tableur;
    };
    for (const Row& row :
         {Row{"12,00,00", "\"12,00,00\"", "12,00,00"}, Row{"12;00;00", "12;00;00", "\"12;00;00\""},
          Row{"12\"00:00", "\"12\"\"00:00\"", "\"12\"\"00:00\""},
          Row{std::string("\x01\xFF\\:00:0", 8), "\\x01\\xFF\\x5C:00:0", "\\x01\\xFF\\x5C:00:0"},
          Row{"12:00:0\n", "12:00:0\\x0A", "12:00:0\\x0A"},
          Row{"=2+5:000", "\\x3D2+5:000", "\\x3D2+5:000"}}) { // never a formula
        EXPECT_EQ(csvLine(3, rec(-2, row.heure, -7)),
                  std::string("3,-2,") + row.plain + ",-7,-0.002");
        EXPECT_EQ(csvLine(3, rec(-2, row.heure, -7), CsvStyle::Tableur),
                  std::string("3;-2;") + row.tableur + ";-7;-0,002");
    }
}

TEST(Csv, EachStyleHasItsHeaderAndLineEnds) {
    const std::vector<std::uint8_t> bytes =
        logBytes({rec(2051, "14:05:09", 0), rec(7, "14:05:10", 1000)});
    CsvFormatter plain;
    CsvFormatter tableur(CsvStyle::Tableur);
    const LogView log(bytes);
    EXPECT_EQ(std::string(csvHeader(CsvStyle::Plain)) + std::string(plain.lines(log, 41)),
              "record,valeur,heure,temps_ms,tension_v\n41,2051,14:05:09,0,2.051\n"
              "42,7,14:05:10,1000,0.007\n");
    EXPECT_EQ(std::string(csvHeader(CsvStyle::Tableur)) + std::string(tableur.lines(log, 41)),
              "\xEF\xBB\xBFrecord;valeur;heure;temps_ms;tension_v\r\n41;2051;14:05:09;0;2,051\r\n"
              "42;7;14:05:10;1000;0,007\r\n");
}

} // namespace

#include <gtest/gtest.h>
#include <ombrelis/engine/MesureRec.h>
#include <ombrelis/testing/LogBytes.h>

using namespace ombrelis::engine;
using ombrelis::testing::rec;

TEST(MesureRec, WorkedExampleEncodesToItsFourteenBytes) {
    const RecordBytes expected{0x03, 0x08, 0x31, 0x34, 0x3A, 0x30, 0x35,
                               0x3A, 0x30, 0x39, 0xE0, 0x07, 0x00, 0x00};
    EXPECT_EQ(encode(rec(2051, "14:05:09", 2016)), expected);
}

TEST(MesureRec, ValueLimitsAndNegativeFieldsAreLittleEndianTwosComplement) {
    EXPECT_EQ(encode(rec(4095, "00:00:00", 0))[0], 0xFF);
    EXPECT_EQ(encode(rec(4095, "00:00:00", 0))[1], 0x0F);
    EXPECT_EQ(encode(rec(0, "00:00:00", 0))[0], 0x00);
    EXPECT_EQ(encode(rec(0, "00:00:00", 0))[1], 0x00);
    const RecordBytes b = encode(rec(-2, "23:59:59", -1));
    EXPECT_EQ(b[0], 0xFE);
    EXPECT_EQ(b[1], 0xFF);
    for (int i = 10; i < 14; ++i) {
        EXPECT_EQ(b[static_cast<std::size_t>(i)], 0xFF);
    }
}

TEST(MesureRec, DecodeReversesEncodeAcrossTheFieldRanges) {
    for (const MesureRec r :
         {rec(2051, "14:05:09", 2016), rec(-32768, "00:00:00", 0),
          rec(32767, "23:59:59", 2147483647), rec(1, "12:34:56", -2147483647 - 1)}) {
        EXPECT_EQ(decode(encode(r)), r);
    }
}

TEST(MesureRec, HeureIsPaddedWithBlanksOrCutToEightCharacters) {
    EXPECT_EQ(std::string(heureFromText("1:2").data(), 8), "1:2     ");
    EXPECT_EQ(std::string(heureFromText("14:05:09.123").data(), 8), "14:05:09");
}

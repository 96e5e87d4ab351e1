// The converter model on its own, on time given by the test: the datasheet's timing, exactly.

#include <cmath>
#include <gtest/gtest.h>
#include <ombrelis/max187/Max187.h>

namespace ombrelis::max187 {
namespace {

bool dout(const Max187& chip, double us) {
    return (chip.readStatus(us) & kDataOut) != 0;
}

/// Twelve clock pulses from `us` on, 1 us apart, reading DOUT after each falling edge.
int clockOut(Max187& chip, double us, int pulses = 12) {
    int value = 0;
    for (int i = 0; i < pulses; ++i, us += 1) {
        chip.writeData(kSerialClock, us);
        chip.writeData(0, us + 0.5);
        value = value * 2 + (dout(chip, us + 0.5) ? 1 : 0);
    }
    return value;
}

TEST(Max187Test, ConvertsForEightAndAHalfMicrosecondsThenShiftsOutTwelveBitsAndZeros) {
    Max187 chip([](double) { return 2.5; });
    chip.writeData(kChipSelect, 0);
    EXPECT_TRUE(dout(chip, 0)) << "deselected, DOUT floats high";
    chip.writeData(0, 100); // CS falls: the conversion starts
    EXPECT_FALSE(dout(chip, 100));
    EXPECT_FALSE(dout(chip, 108.49)) << "still converting";
    EXPECT_TRUE(dout(chip, 108.5)) << "end of conversion";
    EXPECT_EQ(clockOut(chip, 110), 2500);
    EXPECT_EQ(clockOut(chip, 130, 4), 0) << "after the 12 bits";
    EXPECT_FALSE(chip.clockedDuringConversion());
    chip.writeData(kChipSelect, 140);
    EXPECT_TRUE(dout(chip, 140));
}

TEST(Max187Test, AClockDuringTheConversionIsLostAndTheBitsComeOutLate) {
    Max187 chip([](double) { return 2.5; });
    chip.writeData(kChipSelect, 0);
    chip.writeData(0, 0);
    chip.writeData(kSerialClock, 7);
    chip.writeData(0, 8); // lost: the conversion ends at 8.5
    EXPECT_TRUE(chip.clockedDuringConversion());
    EXPECT_EQ(clockOut(chip, 9, 11), 2500 >> 1) << "one place late";
}

TEST(Max187Test, SamplesTheInputWhenChipSelectFalls) {
    Max187 chip([](double us) { return us < 50 ? 1.0 : 3.0; });
    chip.writeData(kChipSelect, 0);
    chip.writeData(0, 40);
    EXPECT_EQ(clockOut(chip, 60), 1000) << "the input moved after CS fell";
}

struct CountCase {
    double volts;
    int count;
    friend void PrintTo(const CountCase& c, std::ostream* os) { *os << c.volts << " V"; }
};

class CountForTest : public ::testing::TestWithParam<CountCase> {};

TEST_P(CountForTest, OneCountPerMillivoltToTheNearestWithinTheRange) {
    EXPECT_EQ(countFor(GetParam().volts), GetParam().count);
}

INSTANTIATE_TEST_SUITE_P(Volts, CountForTest,
                         ::testing::Values(CountCase{2.5, 2500}, CountCase{0.0004, 0},
                                           CountCase{0.0005, 1}, CountCase{4.0954, 4095},
                                           CountCase{4.096, 4095}, CountCase{-1, 0},
                                           CountCase{std::nan(""), 0}));

} // namespace
} // namespace ombrelis::max187

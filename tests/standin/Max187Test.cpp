// The converter model on its own, on time given by the test: the datasheet's timing, exactly.

#include <gtest/gtest.h>
#include <ombrelis/max187/Max187.h>

namespace ombrelis::max187 {
namespace {

bool dout(const Max187& chip, double us) {
    return (chip.readStatus(us) & kDataOut) != 0;
}

/// Clock pulses from `us` on, 1 us apart, reading DOUT after each falling edge.
int clockOut(Max187& chip, double us, int pulses) {
    int value = 0;
    for (int i = 0; i < pulses; ++i, us += 1) {
        chip.writeData(kSerialClock, us);
        chip.writeData(0, us + 0.5);
        value = value * 2 + (dout(chip, us + 0.5) ? 1 : 0);
    }
    return value;
}

TEST(Max187Test, SamplesAtChipSelectConvertsForEightAndAHalfMicrosecondsThenShiftsOut) {
    Max187 chip([](double us) { return us < 105 ? 2.5 : 1.0; });
    chip.writeData(kChipSelect, 0);
    EXPECT_TRUE(dout(chip, 0)) << "deselected, DOUT floats high";
    chip.writeData(0, 100); // CS falls: the input is sampled, the conversion starts
    EXPECT_FALSE(dout(chip, 108.49)) << "still converting";
    EXPECT_TRUE(dout(chip, 108.5)) << "end of conversion";
    EXPECT_EQ(clockOut(chip, 110, 12), 2500) << "the input as it was when CS fell";
    EXPECT_EQ(clockOut(chip, 130, 4), 0) << "zeros after the 12 bits";
    EXPECT_FALSE(chip.clockedDuringConversion());
    chip.writeData(kChipSelect, 140);
    EXPECT_TRUE(dout(chip, 140));
}

} // namespace
} // namespace ombrelis::max187

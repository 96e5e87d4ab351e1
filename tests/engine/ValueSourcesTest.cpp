#include <cmath>
#include <gtest/gtest.h>
#include <ombrelis/engine/ValueSources.h>
#include <ombrelis/testing/FakeServices.h>
#include <ombrelis/testing/Max187Model.h>
#include <vector>

using namespace ombrelis;
using ombrelis::testing::FakeMicroDelay;
using ombrelis::testing::Max187Model;

namespace {

TEST(Convertisseur, DrivesThePortInTheConverterSequenceAndWaitsForTheConversion) {
    FakeMicroDelay time;
    Max187Model model(&time);
    model.input = 2051;
    engine::Convertisseur converter(model, time);
    EXPECT_EQ(converter.LireConvertisseur(), 2051);

    std::vector<std::uint8_t> expected{1, 0, 2};
    for (int i = 0; i < 12; ++i) {
        expected.push_back(0);
        expected.push_back(2);
    }
    for (std::uint8_t v : {2, 0, 2, 0, 1}) {
        expected.push_back(v);
    }
    EXPECT_EQ(model.dataWrites(), expected);
    EXPECT_EQ(model.reads(), 12);
    EXPECT_EQ(model.operations.size(), 44u);
    EXPECT_FALSE(model.clockedDuringConversion);

    // The wait falls between lowering CS and the first clock edge, and lasts 10 us at least.
    ASSERT_EQ(time.waits.size(), 1u);
    EXPECT_GE(time.waits[0], 10);
}

TEST(Convertisseur, ReadsEveryCountBitExactAndIgnoresTheOtherStatusBits) {
    FakeMicroDelay time;
    Max187Model model(&time);
    engine::Convertisseur converter(model, time);
    for (int count = 0; count <= 4095; ++count) {
        model.input = static_cast<std::uint16_t>(count);
        model.otherStatusBits = static_cast<std::uint8_t>((count * 37) & 0xDF);
        ASSERT_EQ(converter.LireConvertisseur(), count);
    }
    EXPECT_FALSE(model.clockedDuringConversion);
}

TEST(Convertisseur, WithoutTheConversionWaitTheModelReturnsAWrongValue) {
    // Shows that the model catches a readout that clocks too early: the reason for the wait.
    class NoDelay final : public platform::MicroDelay {
    public:
        void waitMicroseconds(int) override {}
    } noDelay;
    FakeMicroDelay frozen; // the model's time never moves
    Max187Model model(&frozen);
    model.input = 2051;
    engine::Convertisseur converter(model, noDelay);
    EXPECT_NE(converter.LireConvertisseur(), 2051);
    EXPECT_TRUE(model.clockedDuringConversion);
}

TEST(Simulateur, MapsTheDrawIntoTheMiddleHalfOfTheRange) {
    EXPECT_EQ(engine::Simulateur::valueFor(0.0f), 1024.0f);
    EXPECT_EQ(engine::Simulateur::valueFor(0.5f), 2048.0f);
    EXPECT_EQ(engine::Simulateur::valueFor(std::nextafter(1.0f, 0.0f)), 3071.0f);
    // Just below a whole value must not round up to it.
    EXPECT_EQ(engine::Simulateur::valueFor(std::nextafter(0.5f, 0.0f)), 2047.0f);
}

TEST(Simulateur, CoversEveryValueEvenly) {
    platform::FixedSeedRandom random;
    engine::Simulateur source(random);
    std::vector<int> hits(4096, 0);
    const int draws = 2048 * 200;
    for (int i = 0; i < draws; ++i) {
        const float v = source.LireSimulation();
        ASSERT_EQ(v, std::floor(v));
        ASSERT_GE(v, 1024.0f);
        ASSERT_LE(v, 3071.0f);
        ++hits[static_cast<std::size_t>(v)];
    }
    for (int v = 1024; v <= 3071; ++v) {
        EXPECT_GT(hits[static_cast<std::size_t>(v)], 100) << v;
        EXPECT_LT(hits[static_cast<std::size_t>(v)], 300) << v;
    }
}

} // namespace

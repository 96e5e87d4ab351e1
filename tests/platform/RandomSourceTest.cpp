#include <gtest/gtest.h>
#include <ombrelis/platform/RandomSource.h>
#include <vector>

namespace ombrelis::platform {
namespace {

TEST(FixedSeedRandomTest, EveryInstanceGivesTheSameSequence) {
    FixedSeedRandom a;
    FixedSeedRandom b;
    for (int i = 0; i < 10000; ++i) {
        ASSERT_EQ(a.next(), b.next()) << "draw " << i;
    }
}

// The first output of a default-seeded mt19937 is fixed by the C++ standard (3499211612);
// its top 24 bits over 2^24 pin that the generator is never seeded from anything.
TEST(FixedSeedRandomTest, StartsFromTheStandardsFixedSeed) {
    FixedSeedRandom random;
    EXPECT_EQ(random.next(), static_cast<float>(3499211612u >> 8) / 16777216.0f);
}

TEST(FixedSeedRandomTest, StaysInsideZeroToOneAndCoversItEvenly) {
    constexpr int kDraws = 1 << 21;
    constexpr int kBuckets = 2048; // one per simulated converter value
    std::vector<int> counts(kBuckets, 0);
    FixedSeedRandom random;
    for (int i = 0; i < kDraws; ++i) {
        const float r = random.next();
        ASSERT_GE(r, 0.0f) << "draw " << i;
        ASSERT_LT(r, 1.0f) << "draw " << i;
        ++counts[static_cast<std::size_t>(r * kBuckets)];
    }
    // 1024 expected per bucket, standard deviation 32: the bounds sit beyond 9 deviations and
    // the sequence is fixed, so this cannot flake; a skewed or coarse generator fails it.
    double chiSquare = 0;
    for (int count : counts) {
        EXPECT_GT(count, 700);
        EXPECT_LT(count, 1350);
        const double d = count - 1024.0;
        chiSquare += d * d / 1024.0;
    }
    // 2047 degrees of freedom: mean 2047, deviation 64.
    EXPECT_LT(chiSquare, 2047 + 6 * 64);
}

} // namespace
} // namespace ombrelis::platform

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <ombrelis/chart/StripChart.h>
#include <ombrelis/testing/CaseNames.h>
#include <ostream>

using ombrelis::chart::sweepIsFull;

namespace {

struct SweepCase {
    const char* what;
    std::int64_t tick;
    std::int64_t sweepStart;
    double axisMs;
    bool full;
    friend void PrintTo(const SweepCase& c, std::ostream* os) { *os << c.what; }
};

constexpr std::int64_t kMax64 = std::numeric_limits<std::int64_t>::max();
constexpr std::int64_t kMin64 = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kMax32 = std::numeric_limits<std::int32_t>::max();
constexpr std::int64_t kMin32 = std::numeric_limits<std::int32_t>::min();

class SweepRule : public testing::TestWithParam<SweepCase> {};

TEST_P(SweepRule, IsFullOnlyStrictlyBeyondTheAxis) {
    const SweepCase& c = GetParam();
    EXPECT_EQ(sweepIsFull(c.tick, c.sweepStart, c.axisMs), c.full) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SweepRule,
    testing::Values(
        SweepCase{"exactly A after the start stays in the sweep", 121000, 1000, 120000.0, false},
        SweepCase{"one millisecond more fills it", 121001, 1000, 120000.0, true},
        SweepCase{"just after a reset", 1000, 1000, 120000.0, false},
        SweepCase{"compared in double, not truncated", 121000, 1000, 119999.5, true},
        SweepCase{"a fraction above the difference", 121000, 1000, 120000.25, false},
        SweepCase{"axis 0: the first millisecond fills it", 1001, 1000, 0.0, true},
        SweepCase{"axis 0: same tick is not full", 1000, 1000, 0.0, false},
        SweepCase{"negative axis: every sample fills it", 1000, 1000, -5000.0, true},
        SweepCase{"tick before the start is never full", 999, 1000, 0.0, false},
        // A 32-bit tick that passed from 2^31-1 to -2^31: no wrap-around, a huge negative gap.
        SweepCase{"32-bit tick rollover is a large negative gap", kMin32, kMax32, 120000.0, false},
        // Formed in 32 bits this gap of 2^32 - 1 would wrap to -1 and not fill the sweep.
        SweepCase{"gap beyond 32 bits is not wrapped", kMax32 + 1, kMin32 + 1, 120000.0, true},
        // Formed in 64 bits these would wrap to -1 and +1.
        SweepCase{"extreme gap, positive", kMax64, kMin64, 1e18, true},
        SweepCase{"extreme gap, negative", kMin64, kMax64, -1e18, false},
        SweepCase{"huge axis is never reached", kMax64, kMin64, 1e300, false}),
    ombrelis::testing::NamedAfterValue{});

} // namespace

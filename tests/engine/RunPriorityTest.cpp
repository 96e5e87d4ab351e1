#include <algorithm>
#include <gtest/gtest.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/RunHarness.h>
#include <string>
#include <vector>

using namespace ombrelis;
using ombrelis::testing::readLog;
using ombrelis::testing::RunHarness;

namespace {

struct PriorityCase {
    const char* name;
    std::vector<const char*> periods; ///< the period text for each sample in turn
    bool allowed;
    const char* atReadouts; ///< R: the thread was raised when the sample was read
    int requests;
};

class RunPriorityCase : public ::testing::TestWithParam<PriorityCase> {};

TEST_P(RunPriorityCase, RaisesOnlyWhileTheRunSleepsAndAsksOncePerRun) {
    const PriorityCase c = GetParam();
    RunHarness h;
    h.threadPriority.allowed = c.allowed;
    std::string atReadouts;
    int waitsNotRaised = 0;
    int waitsSeen = 0;
    h.random.onNext = [&] { atReadouts += h.threadPriority.raised ? 'R' : '-'; };
    h.window.period = c.periods.front();
    h.stopAfter(c.periods.size(), [&](int) {
        h.window.period = c.periods[std::min(h.window.statuses.size(), c.periods.size() - 1)];
        if (h.pump.waits() != waitsSeen) {
            waitsSeen = h.pump.waits();
            waitsNotRaised += h.threadPriority.raised ? 0 : 1;
        }
    });
    h.run.MainLoop();

    EXPECT_EQ(atReadouts, c.atReadouts);
    EXPECT_EQ(waitsNotRaised, c.allowed ? 0 : waitsSeen);
    EXPECT_EQ(h.threadPriority.requests, c.requests);
    EXPECT_FALSE(h.threadPriority.raised); // back to normal after the run
    EXPECT_TRUE(h.boxes.shown.empty());    // a refusal is silent
    EXPECT_EQ(readLog(h.window.name).records.size(), c.periods.size());
}

INSTANTIATE_TEST_SUITE_P(
    Periods, RunPriorityCase,
    ::testing::Values(PriorityCase{"Paced", {"100", "100", "100"}, true, "RRR", 1},
                      PriorityCase{"PeriodZeroNeverSleeps", {"0", "0", "0"}, true, "---", 0},
                      PriorityCase{"NotANumberIsZero", {"abc", "abc"}, true, "--", 0},
                      PriorityCase{"Refused", {"100", "100", "100"}, false, "---", 1},
                      PriorityCase{"ToZeroAndBack", {"100", "0", "0", "100"}, true, "R--R", 2},
                      PriorityCase{"RefusedOnceForTheRun", {"100", "0", "100"}, false, "---", 1},
                      PriorityCase{"FromZero", {"0", "10", "10"}, true, "-RR", 1}),
    ombrelis::testing::NamedAfterName{});

} // namespace

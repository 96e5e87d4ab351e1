#include <ctime>
#include <gtest/gtest.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <ombrelis/testing/ChildProcess.h>
#include <sched.h>
#include <string>
#include <sys/resource.h>
#include <unistd.h>

using namespace ombrelis;
using ombrelis::testing::ChildUser;
using ombrelis::testing::runInChild;

namespace {

bool realtimeNow() {
    const int policy = ::sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    return policy == SCHED_FIFO || policy == SCHED_RR;
}

TEST(ThreadPriorityTest, RefusedWithoutPermissionOrBrokerLeavesTheThreadAsItWas) {
    const std::string report = runInChild(ChildUser::Unprivileged, []() -> std::string {
        const rlimit none{0, 0};
        ::setrlimit(RLIMIT_RTPRIO, &none);
        std::int64_t askedFor = 0;
        // A broker that answers yes without doing anything is not believed.
        const auto priority = platform::systemThreadPriority([&](std::int64_t thread, int) {
            askedFor = thread;
            return true;
        });
        if (priority->raise() || realtimeNow()) {
            return "raised without permission";
        }
        return askedFor == ::gettid() ? "" : "the broker was not asked for this thread";
    });
    EXPECT_EQ(report, "");
}

// Raised under a net that keeps a runaway thread from freezing the desktop: past its soft
// limit it runs as any other thread, and the program lives on (the hard limit would kill it).
TEST(ThreadPriorityTest, RaisedUnderALimitAndPutBackToNormalWhenItNeverSleeps) {
    const std::string report = runInChild(ChildUser::Same, []() -> std::string {
        const auto priority = platform::systemThreadPriority();
        ::setpriority(PRIO_PROCESS, 0, 3);
        if (!priority->raise()) {
            return "skip";
        }
        rlimit limit{};
        ::getrlimit(RLIMIT_RTTIME, &limit);
        if (!realtimeNow() || limit.rlim_max > 200'000 || limit.rlim_cur >= limit.rlim_max) {
            return "not real-time, or without a soft and a hard limit under 200 ms";
        }
        priority->lower();
        if (realtimeNow() || ::getpriority(PRIO_PROCESS, 0) != 3 || !priority->raise()) {
            return "not lowered to its own nice, or not raised again";
        }
        const std::clock_t start = std::clock();
        while (realtimeNow() && std::clock() - start < 2 * CLOCKS_PER_SEC) {
        }
        return realtimeNow() ? "still real-time after 2 s of processor" : "";
    });
    if (report == "skip") {
        GTEST_SKIP() << "no real-time scheduling allowed here";
    }
    EXPECT_EQ(report, "");
}

} // namespace

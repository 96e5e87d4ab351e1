#include <ctime>
#include <functional>
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

double threadCpuSeconds() {
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

// Runs `check` in a child whose thread was raised; "skip" where this machine allows no
// real-time scheduling to the tests.
std::string whenRaised(const std::function<std::string(platform::ThreadPriority&)>& check) {
    return runInChild(ChildUser::Same, [&]() -> std::string {
        const auto priority = platform::systemThreadPriority();
        return priority->raise() ? check(*priority) : "skip";
    });
}

TEST(ThreadPriorityTest, RefusedWithoutPermissionOrBrokerLeavesTheThreadAsItWas) {
    EXPECT_EQ(runInChild(ChildUser::Unprivileged,
                         []() -> std::string {
                             const rlimit none{0, 0};
                             ::setrlimit(RLIMIT_RTPRIO, &none);
                             std::int64_t askedFor = 0;
                             // A broker that answers yes without doing anything is not believed.
                             const auto priority =
                                 platform::systemThreadPriority([&](std::int64_t id, int) {
                                     askedFor = id;
                                     return true;
                                 });
                             if (priority->raise() || realtimeNow()) {
                                 return "raised without permission";
                             }
                             return askedFor == ::gettid()
                                        ? ""
                                        : "the broker was not asked for this thread";
                         }),
              "");
}

TEST(ThreadPriorityTest, RaisedUnderALimitOfRealTimeAndLoweredToItsOwnNice) {
    const std::string report = whenRaised([](platform::ThreadPriority& priority) -> std::string {
        ::setpriority(PRIO_PROCESS, 0, 3);
        rlimit limit{};
        ::getrlimit(RLIMIT_RTTIME, &limit);
        if (!realtimeNow() || limit.rlim_max > 200'000 || limit.rlim_cur >= limit.rlim_max) {
            return "not real-time, or without a soft and a hard limit under 200 ms";
        }
        priority.lower();
        return !realtimeNow() && ::getpriority(PRIO_PROCESS, 0) == 3 ? "" : "not lowered as was";
    });
    if (report == "skip") {
        GTEST_SKIP() << "no real-time scheduling allowed here";
    }
    EXPECT_EQ(report, "");
}

// The net that keeps a runaway thread from freezing the desktop: past its soft limit it runs
// as any other thread, and the program lives on (the hard limit would kill it).
TEST(ThreadPriorityTest, AThreadThatNeverSleepsIsPutBackToNormal) {
    const std::string report = whenRaised([](platform::ThreadPriority&) -> std::string {
        const double start = threadCpuSeconds();
        while (realtimeNow() && threadCpuSeconds() - start < 2.0) {
        }
        return realtimeNow() ? "still real-time after 2 s of processor" : "";
    });
    if (report == "skip") {
        GTEST_SKIP() << "no real-time scheduling allowed here";
    }
    EXPECT_EQ(report, "");
}

} // namespace

#include <ctime>
#include <gtest/gtest.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <ombrelis/testing/CaseNames.h>
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

/// Spins until `stillSpinning` is false or `seconds` of processor time have gone by.
template <typename Condition> void spinWhile(Condition stillSpinning, double seconds) {
    const std::clock_t start = std::clock();
    while (stillSpinning() && std::clock() - start < seconds * CLOCKS_PER_SEC) {
    }
}

struct RightCase {
    const char* name;
    rlim_t rtprioLimit; ///< what the administrator gave the user (a limits.d entry)
    bool raised;
    int priority; ///< the real-time priority the thread gets when raised
};

class WhoMayRaise : public ::testing::TestWithParam<RightCase> {};

// As an ordinary user: the limit decides, never above the modest priority, and a broker that
// answers yes without doing anything is not believed.
TEST_P(WhoMayRaise, OnlyWhatTheSystemGrantsAndBackToNormalAfter) {
    const RightCase c = GetParam();
    const std::string report = runInChild(
        ChildUser::Unprivileged,
        [&]() -> std::string {
            rlimit limit{};
            ::getrlimit(RLIMIT_RTPRIO, &limit);
            if (limit.rlim_cur != c.rtprioLimit) {
                return "skip";
            }
            pid_t askedFor = 0;
            const auto priority = platform::systemThreadPriority([&](std::int64_t thread, int) {
                askedFor = static_cast<pid_t>(thread);
                return true;
            });
            const bool raised = priority->raise();
            sched_param param{};
            ::sched_getparam(0, &param);
            if (raised != c.raised || realtimeNow() != c.raised) {
                return c.raised ? "not raised" : "raised without permission";
            }
            if (c.raised && param.sched_priority != c.priority) {
                return "raised at " + std::to_string(param.sched_priority);
            }
            if (askedFor != (c.raised ? 0 : ::gettid())) {
                return "the broker was asked for the wrong thread, or when it was not needed";
            }
            priority->lower();
            return realtimeNow() ? "still real-time after lower()" : "";
        },
        [&] {
            const rlimit limit{c.rtprioLimit, c.rtprioLimit};
            ::setrlimit(RLIMIT_RTPRIO, &limit);
        });
    if (report == "skip") {
        GTEST_SKIP() << "the limit cannot be given here (raising it takes CAP_SYS_RESOURCE)";
    }
    EXPECT_EQ(report, "");
}

INSTANTIATE_TEST_SUITE_P(Rights, WhoMayRaise,
                         ::testing::Values(RightCase{"NoRight", 0, false, 0},
                                           RightCase{"LimitBelowTheModestPriority", 3, true, 3},
                                           RightCase{"LimitAboveIt", 99, true, 5}),
                         ombrelis::testing::NamedAfterName{});

// Raised under a net that keeps a runaway thread from freezing the desktop: past its soft
// limit it runs as any other thread and the program lives on (the hard limit would kill it);
// the next raise puts the net back, which the kernel moved on when it signalled.
TEST(ThreadPriorityTest, RaisedUnderALimitAndPutBackToNormalWhenItNeverSleeps) {
    const std::string report = runInChild(ChildUser::Same, []() -> std::string {
        const auto priority = platform::systemThreadPriority();
        ::setpriority(PRIO_PROCESS, 0, 3);
        if (!priority->raise()) {
            return "skip";
        }
        const auto underTheNet = [] {
            rlimit limit{};
            ::getrlimit(RLIMIT_RTTIME, &limit);
            return realtimeNow() && limit.rlim_max <= 200'000 && limit.rlim_cur < limit.rlim_max;
        };
        if (!underTheNet()) {
            return "not real-time, or without a soft and a hard limit under 200 ms";
        }
        priority->lower();
        if (realtimeNow() || ::getpriority(PRIO_PROCESS, 0) != 3 || !priority->raise()) {
            return "not lowered to its own nice, or not raised again";
        }
        spinWhile(realtimeNow, 2);
        if (realtimeNow()) {
            return "still real-time after 2 s of processor";
        }
        spinWhile([] { return true; }, 0.3); // killed here if the net were only the hard limit
        ::usleep(1000); // the kernel counts a thread's real-time run from its last sleep
        if (!priority->raise() || !underTheNet()) {
            return "raised again without the net";
        }
        priority->lower();
        return "";
    });
    if (report == "skip") {
        GTEST_SKIP() << "no real-time scheduling allowed here";
    }
    EXPECT_EQ(report, "");
}

} // namespace

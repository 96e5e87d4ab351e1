#include <gtest/gtest.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <ombrelis/testing/CaseNames.h>
#include <windows.h>

namespace {

struct PriorityCase {
    const char* name;
    int before; ///< as the run finds it: the user may have changed it
    int raised;
};

class WindowsRunPriority : public ::testing::TestWithParam<PriorityCase> {};

// Up to "highest" from anything below, never down, and exactly the thread's own priority after.
TEST_P(WindowsRunPriority, RaisedWhilePacingAndGivenBackAfter) {
    const PriorityCase c = GetParam();
    HANDLE self = ::GetCurrentThread();
    ASSERT_TRUE(::SetThreadPriority(self, c.before));
    const auto priority = ombrelis::platform::systemThreadPriority();
    EXPECT_TRUE(priority->raise());
    EXPECT_EQ(::GetThreadPriority(self), c.raised);
    priority->lower();
    EXPECT_EQ(::GetThreadPriority(self), c.before);
    ::SetThreadPriority(self, THREAD_PRIORITY_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(
    Priorities, WindowsRunPriority,
    ::testing::Values(PriorityCase{"normal", THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_HIGHEST},
                      PriorityCase{"lowest", THREAD_PRIORITY_LOWEST, THREAD_PRIORITY_HIGHEST},
                      PriorityCase{"time_critical", THREAD_PRIORITY_TIME_CRITICAL,
                                   THREAD_PRIORITY_TIME_CRITICAL}),
    ombrelis::testing::NamedAfterName{});

} // namespace

#include <gtest/gtest.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <ombrelis/testing/CaseNames.h>
#include <windows.h>

using namespace ombrelis;

namespace {

struct PriorityCase {
    const char* name;
    int before; ///< the thread's priority when the run starts (the user may have changed it)
    int raised; ///< while the run paces
};

class WindowsRunPriority : public ::testing::TestWithParam<PriorityCase> {};

// Raised to "highest" whatever it was below that, never lowered by raise(), and lower() gives
// back exactly the priority the thread had.
TEST_P(WindowsRunPriority, RaisedWhilePacingAndGivenBackAfter) {
    const PriorityCase c = GetParam();
    HANDLE self = ::GetCurrentThread();
    ASSERT_TRUE(::SetThreadPriority(self, c.before));
    const auto priority = platform::systemThreadPriority();
    EXPECT_TRUE(priority->raise());
    EXPECT_EQ(::GetThreadPriority(self), c.raised);
    EXPECT_TRUE(priority->raise());
    priority->lower();
    EXPECT_EQ(::GetThreadPriority(self), c.before);
    priority->lower();
    EXPECT_EQ(::GetThreadPriority(self), c.before);
    ::SetThreadPriority(self, THREAD_PRIORITY_NORMAL);
}

INSTANTIATE_TEST_SUITE_P(
    Priorities, WindowsRunPriority,
    ::testing::Values(PriorityCase{"normal", THREAD_PRIORITY_NORMAL, THREAD_PRIORITY_HIGHEST},
                      PriorityCase{"lowered_by_the_user", THREAD_PRIORITY_LOWEST,
                                   THREAD_PRIORITY_HIGHEST},
                      PriorityCase{"time_critical_kept", THREAD_PRIORITY_TIME_CRITICAL,
                                   THREAD_PRIORITY_TIME_CRITICAL}),
    ombrelis::testing::NamedAfterName{});

} // namespace

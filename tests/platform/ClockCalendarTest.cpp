#include <chrono>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <gtest/gtest.h>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/testing/CaseNames.h>
#include <string>
#include <thread>
#ifndef _WIN32
#include <ombrelis/testing/ChildProcess.h>
#include <sched.h>
#endif

namespace ombrelis::platform {
namespace {

int twoDigits(const std::string& text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

// In any zone the seconds are those of universal time, and the date the 14th to the 16th.
TEST(LocalCalendarTest, TakesTheTimeFromItsSource) {
    std::time_t now = 1'700'040'845; // 2023-11-15 09:34:05 UTC
    LocalCalendar calendar([&now] { return now; });
    const std::string first = calendar.timeOfDay();
    now += 1;
    ASSERT_EQ(first.size(), 8u);
    EXPECT_LE(twoDigits(first, 0), 23) << first;
    EXPECT_EQ(first.substr(5), ":05");
    EXPECT_EQ(calendar.timeOfDay(), first.substr(0, 6) + "06");
    const Date today = calendar.today();
    EXPECT_EQ(today.year * 100 + today.month, 202311);
    EXPECT_NEAR(today.day, 15, 1);
}

#ifndef _WIN32
TEST(LocalCalendarTest, TimeOfDayIsLocalOnThe24HourClockAndFollowsTheClock) {
    const bool hadZone = std::getenv("TZ") != nullptr;
    const std::string saved = hadZone ? std::getenv("TZ") : "";
    ::setenv("TZ", "<+0530>-5:30", 1); // a fixed zone from its rule, no zone database needed
    ::tzset();
    std::time_t now = 1'700'040'845; // 2023-11-15 09:34:05 UTC, 15:04:05 in that zone
    LocalCalendar calendar([&now] { return now; });
    EXPECT_EQ(calendar.timeOfDay(), "15:04:05");
    now += 1;
    EXPECT_EQ(calendar.timeOfDay(), "15:04:06");
    now += 9 * 3600; // past local midnight
    EXPECT_EQ(calendar.timeOfDay(), "00:04:06");
    EXPECT_EQ(calendar.today().day, 16);
    hadZone ? ::setenv("TZ", saved.c_str(), 1) : ::unsetenv("TZ");
    ::tzset();
}
#endif

TEST(LocalCalendarTest, TodayIsARealRecentDate) {
    const Date today = LocalCalendar().today();
    const std::chrono::year_month_day date{std::chrono::year(today.year),
                                           std::chrono::month(static_cast<unsigned>(today.month)),
                                           std::chrono::day(static_cast<unsigned>(today.day))};
    EXPECT_TRUE(date.ok()) << today.day << "/" << today.month << "/" << today.year;
    EXPECT_GE(today.year, 2024);
    EXPECT_LT(today.year, 2200);
}

TEST(SteadyClockTest, NeverGoesBackAndFollowsASleep) {
    SteadyClock clock;
    std::int64_t previous = clock.nowMs();
    for (int i = 0; i < 100000; ++i) {
        const std::int64_t now = clock.nowMs();
        ASSERT_GE(now, previous);
        previous = now;
    }
    const std::int64_t before = clock.nowMs();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_GE(clock.nowMs() - before, 20);
}

#ifndef _WIN32
// A time namespace whose boot clock runs a day ahead of its monotonic clock is what a day of
// suspend leaves behind: the run's clock must count that day, as the time of day does.
TEST(SteadyClockTest, CountsTheTimeTheSystemSpentSuspended) {
    const std::string report = testing::runInChild(testing::ChildUser::Same, []() -> std::string {
        std::ofstream offsets;
        if (::unshare(CLONE_NEWTIME) == 0) {
            offsets.open("/proc/self/timens_offsets");
        }
        if (!(offsets << "boottime 86400 0\n" << std::flush)) {
            return "skip";
        }
        // Only the children of this process live in the new namespace.
        return testing::runInChild(testing::ChildUser::Same, []() -> std::string {
            timespec monotonic{};
            ::clock_gettime(CLOCK_MONOTONIC, &monotonic);
            const std::int64_t ahead = SteadyClock().nowMs() - monotonic.tv_sec * 1000;
            return ahead >= 86'400'000 ? "" : "a day of suspend left out: " + std::to_string(ahead);
        });
    });
    if (report == "skip") {
        GTEST_SKIP() << "no time namespaces here";
    }
    EXPECT_EQ(report, "");
}
#endif

class BusyWaitDelayTest : public ::testing::TestWithParam<int> {};

TEST_P(BusyWaitDelayTest, ReturnsNoEarlierThanAsked) {
    BusyWaitDelay delay;
    const auto start = std::chrono::steady_clock::now();
    delay.waitMicroseconds(GetParam());
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::microseconds(GetParam()));
}

INSTANTIATE_TEST_SUITE_P(Delays, BusyWaitDelayTest, ::testing::Values(0, 1, 10, 85, 1000, 20000),
                         testing::NamedAfterValue{});

} // namespace
} // namespace ombrelis::platform

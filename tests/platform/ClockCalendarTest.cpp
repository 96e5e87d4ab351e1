#include <cctype>
#include <chrono>
#include <gtest/gtest.h>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/testing/CaseNames.h>
#include <thread>

namespace ombrelis::platform {
namespace {

int twoDigits(const std::string& text, std::size_t at) {
    return (text[at] - '0') * 10 + (text[at + 1] - '0');
}

TEST(LocalCalendarTest, TimeOfDayIsEightCharactersOnThe24HourClock) {
    LocalCalendar calendar;
    for (int i = 0; i < 50; ++i) {
        const std::string text = calendar.timeOfDay();
        ASSERT_EQ(text.size(), 8u) << text;
        for (std::size_t at : {0u, 1u, 3u, 4u, 6u, 7u}) {
            ASSERT_TRUE(std::isdigit(static_cast<unsigned char>(text[at]))) << text;
        }
        EXPECT_EQ(text[2], ':') << text;
        EXPECT_EQ(text[5], ':') << text;
        EXPECT_LE(twoDigits(text, 0), 23) << text;
        EXPECT_LE(twoDigits(text, 3), 59) << text;
        EXPECT_LE(twoDigits(text, 6), 60) << text; // 60: a leap second
    }
}

TEST(LocalCalendarTest, TodayIsARealRecentDate) {
    const Date today = LocalCalendar().today();
    const std::chrono::year_month_day date{std::chrono::year(today.year),
                                           std::chrono::month(static_cast<unsigned>(today.month)),
                                           std::chrono::day(static_cast<unsigned>(today.day))};
    EXPECT_TRUE(date.ok()) << today.day << "/" << today.month << "/" << today.year;
    EXPECT_GE(today.year, 2024);
    EXPECT_LT(today.year, 2200);

    // Local and universal dates differ by at most one day.
    const auto utcDays = std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now());
    const auto localDays = std::chrono::sys_days(date);
    EXPECT_LE(std::chrono::abs(localDays - utcDays).count(), 1);
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

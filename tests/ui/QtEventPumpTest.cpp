#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/testing/FakeClock.h>
#include <ombrelis/ui/QtEventPump.h>

namespace ombrelis::testing {
namespace {

using std::chrono::hours;

/// Ends any wait after 10 s, far more than a test here needs; `fired` tells that it had to.
struct Watchdog {
    Watchdog() {
        timer.setSingleShot(true);
        QObject::connect(&timer, &QTimer::timeout, [this] { fired = true; });
        timer.start(10000);
    }
    QTimer timer;
    bool fired = false;
};

TEST(QtEventPump, AnEventQueuedOrComingDuringAWaitEndsIt) {
    platform::SteadyClock clock;
    ui::QtEventPump pump(clock, hours(1));
    for (const bool queued : {true, false}) {
        Watchdog watchdog;
        bool handled = false; // as a STOP click would be
        if (queued) {
            QMetaObject::invokeMethod(
                QCoreApplication::instance(), [&] { handled = true; }, Qt::QueuedConnection);
        } else {
            QTimer::singleShot(20, [&] { handled = true; });
        }
        pump.pumpOrWaitUntil(clock.nowMs() + 3'600'000);
        EXPECT_TRUE(handled) << queued;
        EXPECT_FALSE(watchdog.fired) << "the wait slept on after handling the event";
    }
}

TEST(QtEventPump, ALongWaitComesBackWithinASliceSoThatAResumeIsSeen) {
    FakeClock clock(0); // stands still, as the event loop's timers do through a suspend
    ui::QtEventPump pump(clock, std::chrono::milliseconds(10));
    Watchdog watchdog;
    pump.pumpOrWaitUntil(3'600'000);
    EXPECT_FALSE(watchdog.fired);
}

TEST(QtEventPump, AWaitEndedEarlyLeavesNoWakeUpBehind) {
    platform::SteadyClock clock;
    ui::QtEventPump pump(clock, hours(1));
    bool early = false;
    QTimer::singleShot(5, [&] { early = true; });
    while (!early) {
        pump.pumpOrWaitUntil(clock.nowMs() + 50);
    }
    // Had the 50 ms wake-up outlived its wait, it would end this one before the new event.
    bool fired = false;
    QTimer::singleShot(300, [&] { fired = true; });
    pump.pumpOrWaitUntil(clock.nowMs() + 3'600'000);
    EXPECT_TRUE(fired);
}

TEST(QtEventPump, PumpsAtMostOncePerMillisecondOfTheClock) {
    FakeClock clock(5000);
    ui::QtEventPump pump(clock);
    int ran = 0;
    const auto post = [&ran] {
        QMetaObject::invokeMethod(
            QCoreApplication::instance(), [&ran] { ++ran; }, Qt::QueuedConnection);
    };
    pump.pumpPending();
    post();
    pump.pumpPending(); // same millisecond: left for the next one
    EXPECT_EQ(ran, 0);
    clock.advance(1);
    pump.pumpPending();
    EXPECT_EQ(ran, 1);
    // A wait is never skipped: it is how a paced run sleeps.
    post();
    pump.pumpOrWaitUntil(clock.peek());
    EXPECT_EQ(ran, 2);
}

TEST(QtEventPump, SleepsTheLastMillisecondOfAWaitPrecisely) {
    FakeClock clock(7000);
    ui::QtEventPump pump(clock);
    pump.pumpOrWaitUntil(7001);
    EXPECT_EQ(clock.sleeps, 1);
    EXPECT_EQ(clock.peek(), 7001);
    pump.pumpOrWaitUntil(7001); // deadline reached: neither sleep nor wait
    EXPECT_EQ(clock.sleeps, 1);
}

} // namespace
} // namespace ombrelis::testing

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <ombrelis/ui/QtEventPump.h>

namespace ombrelis::ui {

QtEventPump::QtEventPump(platform::Clock& clock, std::chrono::milliseconds longestSleep)
    : clock_(clock), longestSleep_(longestSleep) {}

void QtEventPump::pumpPending() {
    const std::int64_t now = clock_.nowMs();
    if (now == lastPumpMs_) {
        return;
    }
    lastPumpMs_ = now;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::pumpOrWaitUntil(std::int64_t deadlineMs) {
    const std::int64_t remaining = deadlineMs - clock_.nowMs();
    if (remaining <= kPreciseTailMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        // The event loop's timers wake up a millisecond or two late; the run's pacing is only
        // as good as this wake-up, so the last milliseconds are slept precisely. Events wait
        // at most that long.
        if (remaining > 0) {
            clock_.sleepUntil(deadlineMs);
        }
        return;
    }
    // Woken early, by an event or by this timer: the run polls again and the last
    // milliseconds are slept above. The timer lives in this frame only: stopped and gone
    // before we return, it can never wake a later, unrelated pump.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(static_cast<int>(
        std::min<std::int64_t>(remaining - kPreciseTailMs, longestSleep_.count())));
    // One call: handling pending events and then sleeping in two calls would sleep through
    // the wake-up that the first one handled.
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace ombrelis::ui

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <limits>
#include <ombrelis/ui/QtEventPump.h>

namespace ombrelis::ui {

QtEventPump::QtEventPump(platform::Clock& clock) : clock_(clock) {}

void QtEventPump::pumpPending() {
    const std::int64_t now = clock_.nowMs();
    if (now == lastPumpMs_) {
        return;
    }
    lastPumpMs_ = now;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void QtEventPump::pumpOrWaitUntil(std::int64_t deadlineMs) {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    const std::int64_t remaining = deadlineMs - clock_.nowMs();
    if (remaining <= 0) {
        return;
    }
    if (remaining <= kPreciseTailMs) {
        // The event loop's timers wake up a millisecond or two late; the run's pacing is only
        // as good as this wake-up, so the last milliseconds are slept precisely. Events wait
        // at most that long.
        clock_.sleepUntil(deadlineMs);
        return;
    }
    // Woken early, by an event or by this timer: the run polls again and the last
    // milliseconds are slept above. The timer lives in this frame only: stopped and gone
    // before we return, it can never wake a later, unrelated pump.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(static_cast<int>(
        std::min<std::int64_t>(remaining - kPreciseTailMs, std::numeric_limits<int>::max())));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace ombrelis::ui

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
    // The timer lives in this frame only: stopped and gone before we return, it can never
    // wake a later, unrelated pump.
    QTimer wakeUp;
    wakeUp.setSingleShot(true);
    wakeUp.setTimerType(Qt::PreciseTimer);
    wakeUp.start(
        static_cast<int>(std::min<std::int64_t>(remaining, std::numeric_limits<int>::max())));
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}

} // namespace ombrelis::ui

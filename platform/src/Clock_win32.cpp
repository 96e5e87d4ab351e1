// The Windows build's clock. The performance counter counts the time the machine spends in
// sleep or hibernation, like CLOCK_BOOTTIME on Linux, so that the milliseconds of a run and
// the time of day go on agreeing after a resume; it has sub-microsecond resolution, where
// GetTickCount64 moves in steps of the system tick (15.6 ms by default).
#include "WindowsApi.h"

#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/MicroDelay.h>

namespace ombrelis::platform {

namespace {

std::int64_t counterFrequency() {
    static const std::int64_t frequency = [] {
        LARGE_INTEGER f{};
        ::QueryPerformanceFrequency(&f);
        return f.QuadPart;
    }();
    return frequency;
}

std::int64_t counterNow() {
    LARGE_INTEGER count{};
    ::QueryPerformanceCounter(&count);
    return count.QuadPart;
}

/// The counter ticks in `amount` units of 1/`perSecond` s, rounded up so that a wait is never
/// short; split so that the products cannot overflow.
std::int64_t ticksAfter(std::int64_t amount, std::int64_t perSecond) {
    const std::int64_t f = counterFrequency();
    return amount / perSecond * f + (amount % perSecond * f + perSecond - 1) / perSecond;
}

/// `ticks` in units of 1/`perSecond` s, rounded down.
std::int64_t elapsed(std::int64_t ticks, std::int64_t perSecond) {
    const std::int64_t f = counterFrequency();
    return ticks / f * perSecond + ticks % f * perSecond / f;
}

void spinUntil(std::int64_t deadlineTicks) {
    while (counterNow() < deadlineTicks) {
        YieldProcessor();
    }
}

/// A waitable timer that wakes within about half a millisecond (Windows 10 1803 and later);
/// plain sleeps and ordinary timers wake on the system tick, up to 15.6 ms late. Null where
/// the system has none, and the wait is then spun.
class PreciseTimer {
public:
    PreciseTimer()
        : handle_(::CreateWaitableTimerExW(nullptr, nullptr, CREATE_WAITABLE_TIMER_HIGH_RESOLUTION,
                                           TIMER_ALL_ACCESS)) {}
    ~PreciseTimer() {
        if (handle_ != nullptr) {
            ::CloseHandle(handle_);
        }
    }
    PreciseTimer(const PreciseTimer&) = delete;
    PreciseTimer& operator=(const PreciseTimer&) = delete;

    /// Sleeps about `us` microseconds; false when it could not.
    bool sleepUs(std::int64_t us) {
        LARGE_INTEGER due{};
        due.QuadPart = -us * 10; // relative, in 100 ns units
        return handle_ != nullptr &&
               ::SetWaitableTimer(handle_, &due, 0, nullptr, nullptr, FALSE) &&
               ::WaitForSingleObject(handle_, INFINITE) == WAIT_OBJECT_0;
    }

private:
    HANDLE handle_;
};

} // namespace

std::int64_t SteadyClock::nowMs() {
    return elapsed(counterNow(), 1000);
}

void SteadyClock::sleepUntil(std::int64_t deadlineMs) {
    const std::int64_t deadline = ticksAfter(deadlineMs, 1000);
    const std::int64_t sleepUs = elapsed(deadline - counterNow(), 1000000) - kSpinTailUs;
    if (sleepUs > 0) {
        thread_local PreciseTimer timer;
        timer.sleepUs(sleepUs);
    }
    spinUntil(deadline);
}

void BusyWaitDelay::waitMicroseconds(int microseconds) {
    spinUntil(counterNow() + ticksAfter(microseconds, 1000000));
}

} // namespace ombrelis::platform

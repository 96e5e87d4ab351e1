#include <chrono>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/MicroDelay.h>
#include <thread>

#ifdef __linux__
#include <cerrno>
#include <time.h>
#endif

namespace ombrelis::platform {

#ifdef __linux__

namespace {
constexpr std::int64_t kNsPerMs = 1'000'000;

std::int64_t bootTimeNs() {
    timespec now{};
    ::clock_gettime(CLOCK_BOOTTIME, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
}
} // namespace

std::int64_t SteadyClock::nowMs() {
    return bootTimeNs() / kNsPerMs;
}

void SteadyClock::sleepUntil(std::int64_t deadlineMs) {
    const std::int64_t deadlineNs = deadlineMs * kNsPerMs;
    // A sleeping thread wakes a good fraction of a millisecond late after a long idle, which
    // puts the sample in the next millisecond; the last moments are spun instead.
    const std::int64_t sleepToNs = deadlineNs - std::int64_t{kSpinTailUs} * 1000;
    const timespec until{static_cast<time_t>(sleepToNs / 1'000'000'000),
                         static_cast<long>(sleepToNs % 1'000'000'000)};
    while (sleepToNs > 0 &&
           ::clock_nanosleep(CLOCK_BOOTTIME, TIMER_ABSTIME, &until, nullptr) == EINTR) {
    }
    while (bootTimeNs() < deadlineNs) {
    }
}

#else

std::int64_t SteadyClock::nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepUntil(std::int64_t deadlineMs) {
    using namespace std::chrono;
    const steady_clock::time_point deadline{milliseconds(deadlineMs)};
    std::this_thread::sleep_until(deadline - microseconds(kSpinTailUs));
    while (steady_clock::now() < deadline) {
    }
}

#endif

void BusyWaitDelay::waitMicroseconds(int microseconds) {
    using namespace std::chrono;
    const auto until = steady_clock::now() + std::chrono::microseconds(microseconds);
    while (steady_clock::now() < until) {
    }
}

} // namespace ombrelis::platform

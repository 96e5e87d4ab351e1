#include <chrono>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/MicroDelay.h>
#include <thread>

namespace ombrelis::platform {

std::int64_t SteadyClock::nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void SteadyClock::sleepUntil(std::int64_t deadlineMs) {
    using namespace std::chrono;
    const steady_clock::time_point deadline{milliseconds(deadlineMs)};
    // A sleeping thread wakes a good fraction of a millisecond late after a long idle, which
    // puts the sample in the next millisecond; the last moments are spun instead.
    std::this_thread::sleep_until(deadline - microseconds(kSpinTailUs));
    while (steady_clock::now() < deadline) {
    }
}

void BusyWaitDelay::waitMicroseconds(int microseconds) {
    using namespace std::chrono;
    const auto until = steady_clock::now() + std::chrono::microseconds(microseconds);
    while (steady_clock::now() < until) {
    }
}

} // namespace ombrelis::platform

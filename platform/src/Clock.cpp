#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/MicroDelay.h>

#include <chrono>

namespace ombrelis::platform {

std::int64_t SteadyClock::nowMs() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void BusyWaitDelay::waitMicroseconds(int microseconds) {
    using namespace std::chrono;
    const auto until = steady_clock::now() + std::chrono::microseconds(microseconds);
    while (steady_clock::now() < until) {
    }
}

} // namespace ombrelis::platform

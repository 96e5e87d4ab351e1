#pragma once

#include <algorithm>
#include <functional>
#include <limits>
#include <map>
#include <ombrelis/engine/EventPump.h>
#include <ombrelis/testing/FakeClock.h>

namespace ombrelis::testing {

/// Thrown by a pump past FakePump::kMostPumps. Not a std::exception, so that the run's own
/// error handling cannot swallow it: it ends the run and fails the test.
struct RunawayRun {};

/// Counts the pumps. A "handler" can be scheduled to run inside the n-th pump (1-based,
/// counting both kinds), as a click would during a run. A wait then moves the clock to its
/// deadline, as the real pump's sleep would, or on by `longestSleepMs`. A run that has not
/// ended after kMostPumps pumps never will: the next pump throws RunawayRun.
class FakePump final : public engine::EventPump {
public:
    static constexpr int kMostPumps = 10000;

    explicit FakePump(FakeClock& clock) : clock_(clock) {}

    void pumpPending() override {
        ++pumps_;
        runHandler();
    }

    void pumpOrWaitUntil(std::int64_t deadlineMs) override {
        ++pumps_;
        ++waits_;
        lastDeadline_ = deadlineMs;
        runHandler();
        if (clock_.peek() < deadlineMs) {
            clock_.set(std::min(deadlineMs, clock_.peek() + longestSleepMs));
        }
    }

    /// Runs `handler` inside pump number `n`.
    void at(int n, std::function<void()> handler) { handlers_[n] = std::move(handler); }
    /// Runs `handler` inside every pump from now on (after any scheduled one).
    std::function<void()> everyPump;
    /// A wait's pump sleeps at most this long, as the real one wakes to look at the window.
    std::int64_t longestSleepMs = std::numeric_limits<std::int64_t>::max() / 2;

    int pumps() const { return pumps_; }
    int waits() const { return waits_; }
    std::int64_t lastDeadline() const { return lastDeadline_; }

private:
    void runHandler() {
        if (pumps_ > kMostPumps) {
            throw RunawayRun{};
        }
        if (const auto it = handlers_.find(pumps_); it != handlers_.end()) {
            auto handler = std::move(it->second);
            handlers_.erase(it);
            handler();
        }
        if (everyPump) {
            everyPump();
        }
    }

    FakeClock& clock_;
    std::map<int, std::function<void()>> handlers_;
    int pumps_ = 0;
    int waits_ = 0;
    std::int64_t lastDeadline_ = 0;
};

} // namespace ombrelis::testing

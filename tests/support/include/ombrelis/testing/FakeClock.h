#pragma once

#include <ombrelis/platform/Clock.h>

namespace ombrelis::testing {

/// A clock that only moves when told.
class FakeClock final : public platform::Clock {
public:
    explicit FakeClock(std::int64_t start = 1000) : now_(start) {}
    std::int64_t nowMs() override {
        ++reads_;
        return now_;
    }
    void sleepUntil(std::int64_t deadlineMs) override {
        ++sleeps;
        if (now_ < deadlineMs) {
            now_ = deadlineMs;
        }
    }
    void set(std::int64_t now) { now_ = now; }
    void advance(std::int64_t ms) { now_ += ms; }
    std::int64_t peek() const { return now_; }
    int reads() const { return reads_; }

    int sleeps = 0;

private:
    std::int64_t now_;
    int reads_ = 0;
};

} // namespace ombrelis::testing

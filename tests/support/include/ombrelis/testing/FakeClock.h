#pragma once

#include <ombrelis/platform/Clock.h>

namespace ombrelis::testing {

/// A clock that only moves when told. Each read can also advance it by `stepPerRead`.
class FakeClock final : public platform::Clock {
public:
    explicit FakeClock(std::int64_t start = 1000) : now_(start) {}
    std::int64_t nowMs() override {
        ++reads_;
        const std::int64_t value = now_;
        now_ += stepPerRead;
        return value;
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

    std::int64_t stepPerRead = 0;
    int sleeps = 0;

private:
    std::int64_t now_;
    int reads_ = 0;
};

} // namespace ombrelis::testing

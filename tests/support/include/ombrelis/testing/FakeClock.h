#pragma once

#include <ombrelis/platform/Clock.h>
#include <ombrelis/testing/Journal.h>

namespace ombrelis::testing {

/// A clock that only moves when told. Each read can also advance it by `stepPerRead`.
class FakeClock final : public platform::Clock {
public:
    explicit FakeClock(std::int64_t start = 1000, Journal* journal = nullptr)
        : now_(start), journal_(journal) {}
    std::int64_t nowMs() override {
        ++reads_;
        if (journal_) {
            journal_->add("tick");
        }
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
    Journal* journal_;
    int reads_ = 0;
};

} // namespace ombrelis::testing

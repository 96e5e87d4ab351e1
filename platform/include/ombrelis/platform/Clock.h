#pragma once

#include <cstdint>

namespace ombrelis::platform {

/// Monotonic millisecond clock. 64-bit, so it never wraps during the life of a process. The
/// run's TempsMs and pacing come from it.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
    /// Sleeps, processing nothing, until nowMs() would return `deadlineMs`; returns at once
    /// when it already does. For the last fraction of a millisecond of a paced wait, which
    /// the event loop's timers cannot hit.
    virtual void sleepUntil(std::int64_t deadlineMs) = 0;
};

/// Time since the system started, the time spent suspended included (CLOCK_BOOTTIME on
/// Linux): across a suspend TempsMs moves as the time of day does, and a sample that fell due
/// while the system slept is taken as soon as it wakes.
class SteadyClock final : public Clock {
public:
    std::int64_t nowMs() override;
    void sleepUntil(std::int64_t deadlineMs) override;

    /// How long before the deadline sleepUntil stops sleeping and spins.
    static constexpr int kSpinTailUs = 300;
};

} // namespace ombrelis::platform

#pragma once

#include <cstdint>
#include <ombrelis/engine/EventPump.h>
#include <ombrelis/platform/Clock.h>

namespace ombrelis::ui {

/// The run's event pump on Qt's event loop of the calling thread.
class QtEventPump final : public engine::EventPump {
public:
    explicit QtEventPump(platform::Clock& clock);

    /// At most once per millisecond of the clock: at period 0 a run asks for a pump per sample,
    /// far more often than anything can happen in the window, and each costs about a
    /// microsecond.
    void pumpPending() override;
    /// Sleeps in the event dispatcher, woken by the next event or by a precise single-shot
    /// timer armed for the deadline. Never runs a nested event loop: one that is asked to quit
    /// keeps spinning.
    void pumpOrWaitUntil(std::int64_t deadlineMs) override;

    /// The end of a wait slept without events, to hit the deadline's millisecond.
    static constexpr std::int64_t kPreciseTailMs = 2;

private:
    platform::Clock& clock_;
    std::int64_t lastPumpMs_ = -1;
};

} // namespace ombrelis::ui

#pragma once

#include <chrono>
#include <cstdint>
#include <ombrelis/engine/EventPump.h>
#include <ombrelis/platform/Clock.h>

namespace ombrelis::ui {

/// The run's event pump on Qt's event loop of the calling thread.
class QtEventPump final : public engine::EventPump {
public:
    /// The event loop's timers do not count the time the system spends suspended, and the
    /// run's clock does: a wait sleeps at most this long at a time, so that after a resume
    /// the sample that fell due meanwhile comes within it.
    static constexpr std::chrono::milliseconds kLongestSleep{200};

    explicit QtEventPump(platform::Clock& clock,
                         std::chrono::milliseconds longestSleep = kLongestSleep);

    /// At most once per millisecond of the clock: at period 0 a run asks for a pump per sample,
    /// far more often than anything can happen in the window, and each costs about a
    /// microsecond.
    void pumpPending() override;
    /// One pass of the event dispatcher that handles what is pending and sleeps only when
    /// nothing was, woken by the next event or by a precise single-shot timer armed for the
    /// deadline: an event handled here always ends the call, so a STOP is never slept through.
    /// Never runs a nested event loop: one that is asked to quit keeps spinning.
    void pumpOrWaitUntil(std::int64_t deadlineMs) override;

    /// The end of a wait slept without events, to hit the deadline's millisecond.
    static constexpr std::int64_t kPreciseTailMs = 2;

private:
    platform::Clock& clock_;
    std::chrono::milliseconds longestSleep_;
    std::int64_t lastPumpMs_ = -1;
};

} // namespace ombrelis::ui

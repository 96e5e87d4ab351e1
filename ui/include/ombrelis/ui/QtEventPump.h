#pragma once

#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/EventPump.h>

namespace ombrelis::ui {

/// The run's event pump on Qt's event loop of the calling thread.
class QtEventPump final : public platform::EventPump {
public:
    explicit QtEventPump(platform::Clock& clock);

    void pumpPending() override;
    /// Sleeps in the event dispatcher, woken by the next event or by a precise single-shot
    /// timer armed for the deadline. Never runs a nested event loop: one that is asked to quit
    /// keeps spinning.
    void pumpOrWaitUntil(std::int64_t deadlineMs) override;

private:
    platform::Clock& clock_;
};

} // namespace ombrelis::ui

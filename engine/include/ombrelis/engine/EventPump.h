#pragma once

#include <cstdint>

namespace ombrelis::engine {

/// Lets the window's handlers run while a sampling run holds the user-interface thread.
class EventPump {
public:
    virtual ~EventPump() = default;
    /// Processes all pending window events, then returns.
    virtual void pumpPending() = 0;
    /// Processes pending events; when none is pending, sleeps until one arrives or until
    /// the clock reaches `deadlineMs` (same time base as Clock::nowMs), whichever comes first.
    virtual void pumpOrWaitUntil(std::int64_t deadlineMs) = 0;
};

} // namespace ombrelis::engine

#pragma once

#include <cstdint>

namespace ombrelis::platform {

/// Monotonic millisecond clock. 64-bit, so it never wraps during the life of a process.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
};

/// Clock over std::chrono::steady_clock.
class SteadyClock final : public Clock {
public:
    std::int64_t nowMs() override;
};

} // namespace ombrelis::platform

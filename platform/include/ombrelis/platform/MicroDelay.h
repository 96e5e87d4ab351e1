#pragma once

namespace ombrelis::platform {

/// Short hardware settling delays, far below the millisecond clock's resolution.
class MicroDelay {
public:
    virtual ~MicroDelay() = default;
    /// Returns no earlier than `microseconds` after the call. Never processes events.
    virtual void waitMicroseconds(int microseconds) = 0;
};

/// Busy wait on the steady clock: sleeping would overshoot by far more than the delay.
class BusyWaitDelay final : public MicroDelay {
public:
    void waitMicroseconds(int microseconds) override;
};

} // namespace ombrelis::platform

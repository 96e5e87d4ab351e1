#pragma once

#include <string>

namespace ombrelis::engine {

/// What a sampling run reads or writes of the window's controls; the chart is drawn on the
/// surface the window hands the run (SamplingRun). The main window binds these to its controls;
/// tests bind them to fakes.
class WindowOperations {
public:
    virtual ~WindowOperations() = default;

    virtual std::string fileName() = 0;
    virtual std::string periodText() = 0;
    virtual std::string axisText() = 0;
    /// 0 when the simulation switch is off, anything else when on.
    virtual int simulation() = 0;
    /// True while STOP is enabled: the run may go on.
    virtual bool stopEnabled() = 0;
    virtual void setStatus(const std::string& text) = 0;
    /// Puts the buttons back: GO enabled, STOP disabled.
    virtual void backToIdle() = 0;
    /// True once the user has closed the window: the run must end at once, after the pump
    /// in which it learns of it, without taking another sample.
    virtual bool windowClosing() = 0;
};

} // namespace ombrelis::engine

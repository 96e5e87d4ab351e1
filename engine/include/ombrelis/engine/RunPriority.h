#pragma once

#include <ombrelis/platform/ThreadPriority.h>

namespace ombrelis::engine {

/// When a run's thread asks for real-time scheduling. Only while the run sleeps between
/// samples (a period above 0): woken on time on a busy machine, it still leaves the processors
/// to the desktop in between; at a period of 0 it would never sleep and would take a whole
/// processor, so it runs as any other program. A refusal is silent and asked once per run; the
/// run then goes on as it always did.
class RunPriority {
public:
    explicit RunPriority(platform::ThreadPriority& thread) noexcept : thread_(thread) {}

    /// At each deadline, with the period just read from the window.
    void forPeriod(double periodMs);
    /// At the end of every run, nested or not, before anything is shown: normal scheduling
    /// again. A run that resumes after a nested one raises it again at its next deadline.
    void runEnded();

private:
    platform::ThreadPriority& thread_;
    bool raised_ = false;
    bool refused_ = false;
};

} // namespace ombrelis::engine

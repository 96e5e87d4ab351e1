#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace ombrelis::platform {

/// Moves the calling thread between the system's normal time-sharing and a modest real-time
/// priority, at which a sleeping thread is woken on time however busy the machine is.
class ThreadPriority {
public:
    virtual ~ThreadPriority() = default;
    /// Runs the calling thread at the modest real-time priority. False when the system does
    /// not allow it: the thread's scheduling is then as it was, and nothing is reported.
    virtual bool raise() = 0;
    /// Back to normal time-sharing, at the thread's own nice value. Nothing when raise() did
    /// not change the thread.
    virtual void lower() = 0;
};

/// For systems where real-time scheduling is not used: raise() always refuses.
class NormalPriority final : public ThreadPriority {
public:
    bool raise() override { return false; }
    void lower() override {}
};

/// Asks a broker outside the process (rtkit on the desktop's system bus) to make the thread
/// `threadId` of this process real-time at `priority`; true when it did. Asked only when the
/// process may not do it itself.
using RealtimeBroker = std::function<bool(std::int64_t threadId, int priority)>;

/// The system's real-time scheduling (Linux: SCHED_FIFO at a low priority, when root,
/// CAP_SYS_NICE, RLIMIT_RTPRIO or `broker` allow it). Before the first raise it arms a safety
/// net: RLIMIT_RTTIME, and a SIGXCPU handler that puts the raised thread back to normal
/// time-sharing when it has run too long without sleeping. One per program: the net knows one
/// raised thread. Windows: the thread at "highest" within the normal priority class, which
/// needs no administrator rights, and back to its priority before; `broker` is not used.
/// Elsewhere: NormalPriority.
std::unique_ptr<ThreadPriority> systemThreadPriority(RealtimeBroker broker = {});

} // namespace ombrelis::platform

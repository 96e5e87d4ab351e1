#include <ombrelis/platform/ThreadPriority.h>

#ifdef __linux__
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>
#include <utility>
#endif

namespace ombrelis::platform {

#ifdef __linux__

namespace {

/// Above every normally scheduled thread, below sound servers (rtkit grants them up to 20) and
/// the kernel's interrupt threads (50): enough to be woken on time, nothing more.
constexpr int kModestPriority = 5;
/// CPU time a real-time thread may use without sleeping: the run sleeps between samples and
/// spends well under a millisecond awake, a window handler some tens of milliseconds. Past the
/// soft limit the thread is put back to normal scheduling; the hard limit (SIGKILL) is only
/// reached if that fails. rtkit grants nothing to a process whose hard limit is above 200 ms.
constexpr rlim_t kRealtimeSoftUs = 100'000;
constexpr rlim_t kRealtimeHardUs = 200'000;

std::atomic<pid_t> raisedThread{0};

bool isRealtime(int policy) {
    policy &= ~SCHED_RESET_ON_FORK;
    return policy == SCHED_FIFO || policy == SCHED_RR;
}

/// Children never inherit the real-time policy; once a broker has set this flag, only a
/// privileged thread may clear it, so it is kept when going back.
void backToNormal(pid_t thread) {
    sched_param normal{};
    ::sched_setscheduler(thread, SCHED_OTHER | SCHED_RESET_ON_FORK, &normal);
}

extern "C" void onRealtimeOverrun(int) {
    const int savedErrno = errno;
    const pid_t thread = raisedThread.exchange(0);
    if (thread != 0) {
        backToNormal(thread);
    } else {
        // Not our watchdog (RLIMIT_CPU set by the user): what the signal always did.
        ::signal(SIGXCPU, SIG_DFL);
        ::raise(SIGXCPU);
    }
    errno = savedErrno;
}

/// Never lets a real-time thread run without a limit: false when the limit cannot be set.
bool armSafetyNet() {
    rlimit limit{};
    if (::getrlimit(RLIMIT_RTTIME, &limit) != 0) {
        return false;
    }
    const rlimit wanted{std::min({limit.rlim_cur, kRealtimeSoftUs, limit.rlim_max}),
                        std::min(limit.rlim_max, kRealtimeHardUs)};
    if ((wanted.rlim_cur != limit.rlim_cur || wanted.rlim_max != limit.rlim_max) &&
        ::setrlimit(RLIMIT_RTTIME, &wanted) != 0) {
        return false;
    }
    static const bool handled = [] {
        struct sigaction action {};
        action.sa_handler = onRealtimeOverrun;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        return ::sigaction(SIGXCPU, &action, nullptr) == 0;
    }();
    return handled;
}

int modestPriority() {
    rlimit allowed{};
    if (::getrlimit(RLIMIT_RTPRIO, &allowed) == 0 && allowed.rlim_cur > 0 &&
        allowed.rlim_cur < static_cast<rlim_t>(kModestPriority)) {
        return static_cast<int>(allowed.rlim_cur);
    }
    return kModestPriority;
}

class LinuxThreadPriority final : public ThreadPriority {
public:
    explicit LinuxThreadPriority(RealtimeBroker broker) : broker_(std::move(broker)) {}

    bool raise() override {
        const int policy = ::sched_getscheduler(0);
        if (isRealtime(policy)) {
            return true; // already, by us or by whoever started the program so
        }
        if ((policy & ~SCHED_RESET_ON_FORK) != SCHED_OTHER || !armSafetyNet()) {
            return false; // a batch or idle policy is the user's choice, and is kept
        }
        const pid_t thread = ::gettid();
        raisedThread.store(thread); // before the switch: the net must know the thread at once
        const int priority = modestPriority();
        sched_param param{};
        param.sched_priority = priority;
        bool granted = ::sched_setscheduler(0, SCHED_FIFO | SCHED_RESET_ON_FORK, &param) == 0;
        if (!granted && broker_) {
            granted = broker_(thread, priority) && isRealtime(::sched_getscheduler(0));
        }
        if (!granted) {
            raisedThread.store(0);
        }
        raisedHere_ = granted;
        return granted;
    }

    void lower() override {
        if (!raisedHere_) {
            return;
        }
        raisedHere_ = false;
        backToNormal(0);
        raisedThread.store(0); // after the switch: an overrun signal meanwhile finds it normal
    }

private:
    RealtimeBroker broker_;
    bool raisedHere_ = false;
};

} // namespace

std::unique_ptr<ThreadPriority> systemThreadPriority(RealtimeBroker broker) {
    return std::make_unique<LinuxThreadPriority>(std::move(broker));
}

#else

std::unique_ptr<ThreadPriority> systemThreadPriority(RealtimeBroker) {
    return std::make_unique<NormalPriority>();
}

#endif

} // namespace ombrelis::platform

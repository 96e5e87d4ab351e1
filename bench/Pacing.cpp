#include "Pacing.h"

#include "BenchWindow.h"

#include <QTimer>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <initializer_list>
#include <iostream>
#include <linux/capability.h>
#include <ombrelis/testing/LogContents.h>
#include <ombrelis/ui/DesktopRealtime.h>
#include <sched.h>
#include <string>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace ombrelis::bench {

namespace {

/// Processes spinning at normal priority, as other work on the machine would. Each ends by
/// itself after `lifetimeSeconds`, and with this process, should nothing else stop it.
class BusyLoops {
public:
    BusyLoops(int count, unsigned lifetimeSeconds) {
        for (int i = 0; i < count; ++i) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::prctl(PR_SET_PDEATHSIG, SIGKILL);
                ::alarm(lifetimeSeconds);
                volatile unsigned long spin = 0;
                for (;;) {
                    spin = spin + 1;
                }
            }
            if (pid > 0) {
                pids_.push_back(pid);
            }
        }
    }
    ~BusyLoops() {
        for (const pid_t pid : pids_) {
            ::kill(pid, SIGKILL);
        }
        for (const pid_t pid : pids_) {
            ::waitpid(pid, nullptr, 0);
        }
    }
    BusyLoops(const BusyLoops&) = delete;
    BusyLoops& operator=(const BusyLoops&) = delete;

private:
    std::vector<pid_t> pids_;
};

/// As a user who was given no right to real-time scheduling: true once the system refuses it.
bool dropRealtimePermission() {
    const rlimit none{0, 0};
    if (::setrlimit(RLIMIT_RTPRIO, &none) != 0) {
        return false;
    }
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct caps[_LINUX_CAPABILITY_U32S_3]{};
    if (::syscall(SYS_capget, &header, caps) != 0) {
        return false;
    }
    const unsigned sysNice = 1u << CAP_SYS_NICE; // in the first word
    caps[0].effective &= ~sysNice;
    caps[0].permitted &= ~sysNice;
    caps[0].inheritable &= ~sysNice;
    if (::syscall(SYS_capset, &header, caps) != 0) {
        return false;
    }
    sched_param param{};
    param.sched_priority = 1;
    return ::sched_setscheduler(0, SCHED_FIFO, &param) != 0;
}

/// Time the host took from this virtual machine's processors (0 on real hardware), in ms: what
/// no scheduling inside the machine can help.
double hostStealMs() {
    std::ifstream stat("/proc/stat");
    std::string cpu;
    double field = 0; // user, nice, system, idle, iowait, irq, softirq, then steal
    stat >> cpu;
    for (int i = 0; i < 8 && stat >> field; ++i) {
    }
    return field * 1000.0 / static_cast<double>(::sysconf(_SC_CLK_TCK));
}

bool runsInRealtime() {
    const int policy = ::sched_getscheduler(0) & ~SCHED_RESET_ON_FORK;
    return policy == SCHED_FIFO || policy == SCHED_RR;
}

struct Plan {
    int period;
    int samples;
};

void measure(BenchWindow& window, const std::string& prefix, std::initializer_list<Plan> plans) {
    bool realtime = true;
    for (const Plan plan : plans) {
        const std::string name = prefix + std::to_string(plan.period) + "ms_";
        // STOP comes during the wait for the last planned sample, which is still taken; the
        // only other wake-up, half-way, looks at how the run's thread is scheduled.
        const int runMs = plan.samples * plan.period - plan.period / 2;
        QTimer look;
        look.setSingleShot(true);
        QObject::connect(&look, &QTimer::timeout, [&] { realtime = realtime && runsInRealtime(); });
        look.start(runMs / 2);
        const double steal0 = hostStealMs();
        const double cpu0 = cpuSeconds();
        const double wall0 = wallSeconds();
        const std::string path = window.runFor(std::to_string(plan.period), runMs);
        const double cpu = cpuSeconds() - cpu0;
        const double wall = wallSeconds() - wall0;
        const double steal = hostStealMs() - steal0;

        const auto records = testing::readLog(path).records;
        int intervals = 0;
        int onTime = 0;
        int worstLate = 0;
        for (std::size_t i = 1; i < records.size(); ++i) {
            const int interval = records[i].TempsMs - records[i - 1].TempsMs;
            ++intervals;
            onTime += (interval == plan.period || interval == plan.period + 1) ? 1 : 0;
            worstLate = std::max(worstLate, interval - plan.period);
            if (std::getenv("OMBRELIS_BENCH_INTERVALS")) {
                std::fprintf(stderr, "%d ", interval);
            }
        }
        print(name + "intervals", intervals);
        print(name + "on_time_percent", intervals == 0 ? 0 : 100.0 * onTime / intervals);
        print(name + "worst_late_ms", worstLate);
        print(name + "cpu_percent_of_one_core", 100.0 * cpu / wall);
        print(name + "host_steal_ms", steal);
    }
    print(prefix + "realtime_in_effect", realtime ? 1 : 0);
}

} // namespace

int pacing(bool withoutRealtime) {
    const std::string prefix = withoutRealtime ? "pacing_no_rt_" : "pacing_";
    if (withoutRealtime && !dropRealtimePermission()) {
        std::cerr << "could not take the right to real-time scheduling away\n";
        return 1;
    }
    double load = 0;
    ::getloadavg(&load, 1);
    print(prefix + "load_average_1min_at_start", load);

    BenchWindow window(withoutRealtime ? platform::RealtimeBroker{} : ui::desktopRealtimeBroker());
    measure(window, prefix + "idle_", {{10, 500}, {100, 100}, {1000, 10}});
    const BusyLoops twoBusyLoops(2, 90); // the longest plan below takes under 40 s
    measure(window, prefix + "busy_", {{10, 300}, {100, 40}, {1000, 30}});
    return 0;
}

} // namespace ombrelis::bench

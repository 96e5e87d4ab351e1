#pragma once

namespace ombrelis::bench {

/// Pacing of simulated runs at 10, 100 and 1000 ms through the real window, on the idle
/// machine and then with two processes spinning on the processors: the share of intervals
/// in the file equal to the period or the period + 1 ms, the worst lateness and the CPU used.
/// `withoutRealtime` first takes away this process's right to real-time scheduling, as an
/// ordinary user has none: RLIMIT_RTPRIO 0, no CAP_SYS_NICE, no broker.
int pacing(bool withoutRealtime);

} // namespace ombrelis::bench

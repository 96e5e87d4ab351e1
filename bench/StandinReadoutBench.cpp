// One converter readout through the real ppdev backend and the preloaded stand-in's ioctls, and
// from it the readout on real hardware. Prints "name: value" lines; run with LD_PRELOAD naming
// libombrelis-parport-standin.so (scripts/bench does).

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <linux/ppdev.h>
#include <memory>
#include <ombrelis/engine/ValueSources.h>
#include <ombrelis/platform/PpdevPort.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/syscall.h>
#include <unistd.h>

using namespace ombrelis;

namespace {

constexpr int kPortOperations = 44;       // 32 writes and 12 reads per readout
constexpr double kRealPortAccessUs = 1.0; // an ISA-compatible port register, inb or outb

void print(const char* name, double value) {
    std::printf("%s: %.3f\n", name, value);
}

class NoWait final : public platform::MicroDelay {
public:
    void waitMicroseconds(int) override {}
};

/// Time of one call of `work` in microseconds: the best mean over batches of 100 calls, so
/// that the time the process spends descheduled on a busy machine does not count.
template <typename Work> double bestUs(int batches, Work work) {
    double best = 1e300;
    for (int b = 0; b < batches; ++b) {
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 100; ++i) {
            work();
        }
        const std::chrono::duration<double, std::micro> spent =
            std::chrono::steady_clock::now() - start;
        best = std::min(best, spent.count() / 100);
    }
    return best;
}

} // namespace

int main() {
    ::setenv("OMBRELIS_STANDIN_SIGNAL", "const 2.5", 1);
    std::unique_ptr<platform::PpdevPort> port;
    try {
        port = std::make_unique<platform::PpdevPort>();
    } catch (const platform::PortError& e) {
        std::fprintf(stderr, "%s\nRun with LD_PRELOAD=.../libombrelis-parport-standin.so\n",
                     e.what());
        return 1;
    }
    platform::BusyWaitDelay conversionWait;
    NoWait noWait;
    engine::Convertisseur readout(*port, conversionWait);
    engine::Convertisseur ioctlsOnly(*port, noWait);
    print("standin_readout_exact", readout.LireConvertisseur() == 2500 ? 1 : 0);

    volatile int sink = 0;
    const double withWaitUs = bestUs(200, [&] { sink = sink + readout.LireConvertisseur(); });
    const double ioctlsUs = bestUs(1000, [&] { sink = sink + ioctlsOnly.LireConvertisseur(); });
    print("standin_readout_us", withWaitUs);
    print("standin_readout_ioctls_only_us", ioctlsUs);
    print("standin_port_operation_ns", ioctlsUs * 1000.0 / kPortOperations);

    // The kernel's part of each access on real hardware: one ioctl system call. Measured on an
    // eventfd, which refuses the request after the same entry, file lookup and dispatch.
    const int fd = ::eventfd(0, EFD_CLOEXEC);
    unsigned char byte = 0;
    const double syscallUs = bestUs(10'000, [&] { ::syscall(SYS_ioctl, fd, PPRSTATUS, &byte); });
    ::close(fd);
    print("kernel_ioctl_round_trip_us", syscallUs);

    const double realReadoutUs =
        kPortOperations * (kRealPortAccessUs + syscallUs) + engine::kConversionWaitUs;
    print("real_port_readout_estimate_us", realReadoutUs);
    print("real_port_period0_ceiling_readouts_per_s", 1e6 / realReadoutUs);
    return sink == -1 ? 1 : 0;
}

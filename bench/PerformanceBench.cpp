// Figures for throughput, pacing (idle and busy, with and without real-time scheduling), CPU,
// memory, converter readout and start-up, each as a line "name: value". `bench_ombrelis all`
// runs every benchmark in its own process.

#include "BenchWindow.h"
#include "Pacing.h"

#include <QApplication>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iostream>
#include <ombrelis/engine/MesureRec.h>
#include <ombrelis/engine/ValueSources.h>
#include <ombrelis/testing/LogContents.h>
#include <ombrelis/testing/Max187Model.h>
#include <ombrelis/ui/ShippedResources.h>
#include <ombrelis/ui/X11Images.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace ombrelis;
using namespace ombrelis::bench;

namespace {

std::int64_t recordsIn(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_size / 14 : 0;
}

/// The work that no logger can skip: draw a value, read the clock, write the record.
double bareLimitPerSecond(double seconds) {
    platform::FixedSeedRandom random;
    engine::Simulateur source(random);
    platform::SteadyClock clock;
    platform::PosixFileSystem files;
    const std::string path = "/tmp/ombrelis-bench-bare.dat";
    std::remove(path.c_str());
    auto file = files.createRecords(path, engine::kRecordSize);
    engine::MesureRec record;
    record.Heure = engine::heureFromText("12:00:00");
    const std::int64_t start = clock.nowMs();
    const std::int64_t end = start + static_cast<std::int64_t>(seconds * 1000);
    std::int32_t n = 0;
    for (;;) {
        record.Valeur = static_cast<std::int16_t>(source.LireSimulation());
        const std::int64_t now = clock.nowMs();
        record.TempsMs = static_cast<std::int32_t>(now - start);
        file->writeRecord(++n, engine::encode(record));
        if (now >= end) {
            break;
        }
    }
    const double elapsed = static_cast<double>(clock.nowMs() - start) / 1000.0;
    file->close();
    std::remove(path.c_str());
    return n / elapsed;
}

int throughput() {
    BenchWindow window;
    const double seconds = 10.0;
    const double start = wallSeconds();
    const std::string path = window.runFor("0", static_cast<int>(seconds * 1000));
    const double elapsed = wallSeconds() - start;
    const auto records = testing::readLog(path).records;
    const double rate = static_cast<double>(records.size()) / elapsed;
    std::int64_t gaps = 0; // TempsMs must never go back: nothing skipped or reordered
    for (std::size_t i = 1; i < records.size(); ++i) {
        gaps += records[i].TempsMs < records[i - 1].TempsMs ? 1 : 0;
    }
    const double bare = bareLimitPerSecond(3.0);
    print("throughput_samples_per_s", rate);
    print("throughput_records_in_file", static_cast<double>(records.size()));
    print("throughput_time_going_back", static_cast<double>(gaps));
    print("bare_limit_samples_per_s", bare);
    print("throughput_ratio_to_bare", rate / bare);
    return 0;
}

double percentile(std::vector<double> v, double p) {
    if (v.empty()) {
        return 0;
    }
    std::sort(v.begin(), v.end());
    const auto index = static_cast<std::size_t>(std::ceil(p * static_cast<double>(v.size()))) - 1;
    return v[std::min(index, v.size() - 1)];
}

int memory() {
    BenchWindow window;
    std::int64_t after1000 = 0;
    std::int64_t afterAll = 0;
    const std::int64_t target = 5'000'000;
    const std::string path = window.run(
        "0",
        [&] {
            const std::int64_t n = recordsIn(window.logPath());
            if (after1000 == 0 && n >= 1000) {
                after1000 = residentBytes();
            }
            if (n >= target) {
                afterAll = residentBytes();
                return true;
            }
            return false;
        },
        1);
    print("memory_rss_after_1000_samples_kib", static_cast<double>(after1000) / 1024.0);
    print("memory_rss_after_5000000_samples_kib", static_cast<double>(afterAll) / 1024.0);
    print("memory_growth_kib", static_cast<double>(afterAll - after1000) / 1024.0);
    print("memory_records_in_file", static_cast<double>(recordsIn(path)));
    return 0;
}

/// A port as fast as memory: what the readout itself costs, without the hardware.
class CountingPort final : public platform::PortIo {
public:
    void out(std::uint16_t, std::uint8_t value) override {
        last = value;
        ++operations;
    }
    std::uint8_t in(std::uint16_t) override {
        ++operations;
        return static_cast<std::uint8_t>((operations * 7) & 0x20);
    }
    std::uint8_t last = 0;
    std::uint64_t operations = 0;
};

class NoWait final : public platform::MicroDelay {
public:
    void waitMicroseconds(int) override {}
};

int readout() {
    testing::FakeMicroDelay modelTime;
    testing::Max187Model model(&modelTime);
    engine::Convertisseur modelReadout(model, modelTime);
    model.input = 2051;
    const bool exact = modelReadout.LireConvertisseur() == 2051;
    print("readout_port_operations_per_sample", static_cast<double>(model.operations.size()));
    print("readout_bit_exact", exact ? 1 : 0);

    CountingPort port;
    NoWait noWait;
    engine::Convertisseur converter(port, noWait);
    const int n = 2'000'000;
    volatile int sink = 0;
    const double t0 = wallSeconds();
    for (int i = 0; i < n; ++i) {
        sink = sink + converter.LireConvertisseur();
    }
    const double elapsed = wallSeconds() - t0;
    print("readout_ns_per_sample_without_conversion_wait", elapsed * 1e9 / n);
    return 0;
}

double monotonicNow() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) / 1e9;
}

/// Child side of the start-up benchmark: a full program start up to the window's first paint.
int startupChild(int argc, char** argv) {
    QApplication application(argc, argv);
    ui::installShippedFacesAndFrench(application);
    struct FirstPaint : QObject {
        bool eventFilter(QObject*, QEvent* event) override {
            if (event->type() == QEvent::Paint && !seen) {
                seen = true;
                std::printf("%.9f\n", monotonicNow());
                std::fflush(stdout);
                QTimer::singleShot(0, [] { QApplication::exit(0); });
            }
            return false;
        }
        bool seen = false;
    } firstPaint;
    // Installed before the window exists, so its very first paint is seen.
    qApp->installEventFilter(&firstPaint);
    BenchWindow window;
    const int rc = QApplication::exec();
    return rc;
}

int startup(const char* self) {
    std::vector<double> millis;
    for (int i = 0; i < 5; ++i) {
        int pipeFd[2];
        if (::pipe(pipeFd) != 0) {
            return 2;
        }
        const double start = monotonicNow();
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(pipeFd[1], 1);
            ::execl(self, self, "startup-child", static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        ::close(pipeFd[1]);
        std::string out;
        char buffer[256];
        ssize_t n;
        while ((n = ::read(pipeFd[0], buffer, sizeof buffer)) > 0) {
            out.append(buffer, static_cast<std::size_t>(n));
        }
        ::close(pipeFd[0]);
        int status = 0;
        ::waitpid(pid, &status, 0);
        if (out.empty()) {
            std::cerr << "start-up child printed nothing\n";
            return 1;
        }
        millis.push_back((std::stod(out) - start) * 1000.0);
    }
    print("startup_to_first_paint_median_ms", percentile(millis, 0.5));
    print("startup_to_first_paint_max_ms", percentile(millis, 1.0));
    return 0;
}

int runAll(const char* self) {
    int failures = 0;
    for (const char* which :
         {"readout", "startup", "throughput", "pacing", "pacing-no-rt", "memory"}) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::execl(self, self, which, static_cast<char*>(nullptr));
            std::_Exit(127);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        failures += (WIFEXITED(status) && WEXITSTATUS(status) == 0) ? 0 : 1;
    }
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ui::sendX11ImagesThroughTheConnection(); // as the program does, for runs on an X server
    const std::string which = argc > 1 ? argv[1] : "all";
    if (which == "all") {
        return runAll(argv[0]);
    }
    if (which == "readout") {
        return readout();
    }
    if (which == "startup") {
        return startup(argv[0]);
    }
    if (which == "startup-child") {
        return startupChild(argc, argv);
    }
    QApplication application(argc, argv);
    ui::installShippedFacesAndFrench(application); // as the program draws
    if (which == "throughput") {
        return throughput();
    }
    if (which == "pacing" || which == "pacing-no-rt") {
        return pacing(which == "pacing-no-rt");
    }
    if (which == "memory") {
        return memory();
    }
    std::cerr
        << "usage: bench_ombrelis [all|throughput|pacing|pacing-no-rt|memory|readout|startup]\n";
    return 2;
}

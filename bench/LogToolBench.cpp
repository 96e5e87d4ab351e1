// ombrelis-log on a 1 GiB log made here, next to sha1sum of the same file with the page cache
// warm: the time of check, plot, csv and csv --tableur (to /dev/null) and the peak resident
// memory of each, then the same on 1 GiB of random bytes, and plot on 1 MiB of them; last, one
// xlsx of the 1 GiB log (it takes minutes, so it is run once), with its size. Each figure is the
// best of three runs, so that another program busy on the machine spoils as little as possible.
// Prints "name: value" lines. Usage: bench_logtool [FOLDER] (default /tmp); the files are made
// in a new folder there and removed at the end.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <ombrelis/engine/MesureRec.h>
#include <stdexcept>
#include <string>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

namespace fs = std::filesystem;
using namespace ombrelis;

constexpr std::uint64_t kLogBytes = std::uint64_t{1} << 30;
constexpr int kRuns = 3;

struct Outcome {
    double seconds = 1e300;
    double cpuSeconds = 1e300; ///< user and system: what a busy machine changes least
    double peakMiB = 0;
    int status = -1;
};

/// Runs `args` with standard output and error to /dev/null; its time and peak resident size.
Outcome runOnce(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& arg : args) {
        argv.push_back(const_cast<char*>(arg.c_str()));
    }
    argv.push_back(nullptr);
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int sink = ::open("/dev/null", O_WRONLY);
        ::dup2(sink, STDOUT_FILENO);
        ::dup2(sink, STDERR_FILENO);
        ::execvp(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    rusage usage{};
    if (pid < 0 || ::wait4(pid, &status, 0, &usage) != pid) {
        throw std::runtime_error("cannot run " + args[0]);
    }
    Outcome outcome;
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const auto seconds = [](const timeval& t) {
        return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6;
    };
    outcome.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    outcome.peakMiB = static_cast<double>(usage.ru_maxrss) / 1024.0; // ru_maxrss is in KiB
    outcome.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return outcome;
}

Outcome best(const std::vector<std::string>& args, int expectedStatus) {
    Outcome best;
    for (int i = 0; i < kRuns; ++i) {
        const Outcome o = runOnce(args);
        if (o.status != expectedStatus) {
            throw std::runtime_error(args[0] + " " + args[1] + " ended with status " +
                                     std::to_string(o.status));
        }
        best.seconds = std::min(best.seconds, o.seconds);
        best.cpuSeconds = std::min(best.cpuSeconds, o.cpuSeconds);
        best.peakMiB = std::max(best.peakMiB, o.peakMiB);
        best.status = o.status;
    }
    return best;
}

void print(const std::string& name, double value) {
    std::printf("%s: %.4g\n", name.c_str(), value);
    std::fflush(stdout);
}

/// Writes `bytes` made by `fill` (called on 14 × 65536-byte pieces) to `path`.
template <typename Fill> void writeFile(const std::string& path, std::uint64_t bytes, Fill fill) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    std::vector<std::uint8_t> piece(engine::kRecordSize * 65536);
    for (std::uint64_t done = 0; file != nullptr && done < bytes;) {
        fill(piece);
        const std::size_t n =
            static_cast<std::size_t>(std::min<std::uint64_t>(piece.size(), bytes - done));
        if (std::fwrite(piece.data(), 1, n, file) != n) {
            break;
        }
        done += n;
    }
    if (file == nullptr || std::fclose(file) != 0) {
        throw std::runtime_error("cannot write " + path);
    }
}

/// A run at period 0 as the program records it: about 785 samples a millisecond, a slow
/// wave with some noise, the time of day ticking with TempsMs.
void writeSoundLog(const std::string& path) {
    std::uint64_t n = 0;
    engine::MesureRec r;
    writeFile(path, kLogBytes / engine::kRecordSize * engine::kRecordSize,
              [&](std::vector<std::uint8_t>& piece) {
                  for (std::size_t at = 0; at < piece.size(); at += engine::kRecordSize, ++n) {
                      const auto ms = static_cast<std::int32_t>(n / 785);
                      if (n == 0 || ms / 1000 != r.TempsMs / 1000) {
                          const std::int32_t s = 14 * 3600 + 5 * 60 + 9 + ms / 1000;
                          char heure[16];
                          std::snprintf(heure, sizeof heure, "%02d:%02d:%02d", s / 3600 % 24,
                                        s / 60 % 60, s % 60);
                          r.Heure = engine::heureFromText(heure);
                      }
                      r.TempsMs = ms;
                      const auto wave = static_cast<std::int32_t>(n / 4000 % 2000);
                      const auto noise = static_cast<std::int32_t>((n * 2654435761u) >> 26 & 63);
                      r.Valeur = static_cast<std::int16_t>(
                          1000 + 2 * (wave < 1000 ? wave : 2000 - wave) + noise);
                      const engine::RecordBytes b = engine::encode(r);
                      std::copy(b.begin(), b.end(),
                                piece.begin() + static_cast<std::ptrdiff_t>(at));
                  }
              });
}

void writeRandomBytes(const std::string& path, std::uint64_t bytes) {
    std::uint64_t seed = 0x9E3779B97F4A7C15u;
    writeFile(path, bytes, [&seed](std::vector<std::uint8_t>& piece) {
        for (std::uint8_t& b : piece) {
            seed = seed * 6364136223846793005u + 1442695040888963407u;
            b = static_cast<std::uint8_t>(seed >> 56);
        }
    });
}

/// The three commands on `log`, each against sha1sum: wall and CPU seconds, their ratios to
/// sha1sum's, and the peak resident size.
void measure(const std::string& prefix, const std::string& log, const std::string& folder,
             int checkStatus, const Outcome& sha1) {
    const std::string tool = OMBRELIS_LOG_PROGRAM;
    const std::array<std::pair<const char*, std::vector<std::string>>, 4> commands{{
        {"check", {tool, "check", log}},
        {"plot", {tool, "plot", log, "-o", folder + "/plot.png"}},
        {"csv", {tool, "csv", log}},
        {"csv_tableur", {tool, "csv", "--tableur", log}},
    }};
    double csvSeconds = 0;
    double csvCpuSeconds = 0;
    for (const auto& [name, args] : commands) {
        const Outcome o = best(args, std::string(name) == "check" ? checkStatus : 0);
        const std::string figure = prefix + "_" + name;
        print(figure + "_s", o.seconds);
        print(figure + "_ratio_to_sha1sum", o.seconds / sha1.seconds);
        print(figure + "_cpu_s", o.cpuSeconds);
        print(figure + "_cpu_ratio_to_sha1sum", o.cpuSeconds / sha1.cpuSeconds);
        print(figure + "_peak_rss_mib", o.peakMiB);
        if (std::string(name) == "csv") {
            csvSeconds = o.seconds;
            csvCpuSeconds = o.cpuSeconds;
        } else if (std::string(name) == "csv_tableur") {
            print(figure + "_ratio_to_csv", o.seconds / csvSeconds);
            print(figure + "_cpu_ratio_to_csv", o.cpuSeconds / csvCpuSeconds);
        }
    }
}

} // namespace

int main(int argc, char** argv) {
    std::string pattern =
        (fs::path(argc > 1 ? argv[1] : "/tmp") / "ombrelis-logbench-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        std::perror(pattern.c_str());
        return 1;
    }
    const std::string folder = pattern;
    int status = 0;
    try {
        const std::string sound = folder + "/sound.dat";
        const std::string random = folder + "/random.dat";
        const std::string small = folder + "/random-1MiB.dat";
        writeSoundLog(sound);
        writeRandomBytes(random, kLogBytes);
        writeRandomBytes(small, std::uint64_t{1} << 20);
        print("log_bytes", static_cast<double>(fs::file_size(sound)));
        double load[3] = {};
        if (::getloadavg(load, 3) == 3) {
            print("load_average_1min", load[0]);
        }

        best({"sha1sum", sound}, 0); // warms the page cache
        const Outcome sha1 = best({"sha1sum", sound}, 0);
        print("sha1sum_s", sha1.seconds);
        print("sha1sum_cpu_s", sha1.cpuSeconds);
        print("sha1sum_peak_rss_mib", sha1.peakMiB);
        measure("sound", sound, folder, 0, sha1);

#ifdef OMBRELIS_BENCH_XLSX
        const Outcome xlsx =
            runOnce({OMBRELIS_LOG_PROGRAM, "xlsx", sound, "-o", folder + "/sound.xlsx"});
        if (xlsx.status != 0) {
            throw std::runtime_error("xlsx ended with status " + std::to_string(xlsx.status));
        }
        print("sound_xlsx_s", xlsx.seconds);
        print("sound_xlsx_cpu_s", xlsx.cpuSeconds);
        print("sound_xlsx_peak_rss_mib", xlsx.peakMiB);
        print("sound_xlsx_bytes", static_cast<double>(fs::file_size(folder + "/sound.xlsx")));
        fs::remove(folder + "/sound.xlsx");
#endif

        best({"sha1sum", random}, 0);
        const Outcome sha1Random = best({"sha1sum", random}, 0);
        print("random_sha1sum_s", sha1Random.seconds);
        print("random_sha1sum_cpu_s", sha1Random.cpuSeconds);
        measure("random", random, folder, 1, sha1Random);

        const Outcome plotSmall =
            best({OMBRELIS_LOG_PROGRAM, "plot", small, "-o", folder + "/small.png"}, 0);
        print("random_1MiB_plot_s", plotSmall.seconds);
        print("random_1MiB_plot_cpu_s", plotSmall.cpuSeconds);
        print("random_1MiB_plot_peak_rss_mib", plotSmall.peakMiB);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "bench_logtool: %s\n", e.what());
        status = 1;
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    return status;
}

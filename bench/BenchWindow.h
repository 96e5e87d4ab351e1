#pragma once

// The real window on the offscreen platform with the program's own services, for benchmarks.

#include <cstdint>
#include <functional>
#include <memory>
#include <ombrelis/engine/MessageBoxes.h>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/platform/PortIo.h>
#include <ombrelis/platform/PosixFileSystem.h>
#include <ombrelis/platform/RandomSource.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/QtEventPump.h>
#include <ombrelis/ui/SaveDialog.h>
#include <string>

namespace ombrelis::bench {

/// Message boxes that answer Yes and print what they would have shown.
class ConsoleMessages final : public engine::MessageBoxes {
public:
    bool askYesNo(const std::string& title, const std::string& text) override;
    void inform(const std::string& title, const std::string& text) override;
    void reportError(const std::string& title, const std::string& text) override;
};

class NoSaveDialog final : public ui::SaveDialog {
public:
    std::optional<std::string> askSaveName(QWidget*, const std::string&,
                                           const std::string&) override {
        return std::nullopt;
    }
};

/// One Form1 with real services, shown, ready for a simulated run into `logPath`. The run's
/// thread is raised as the program's is, through `broker` when the process may not do it.
class BenchWindow {
public:
    explicit BenchWindow(platform::RealtimeBroker broker = {});
    ~BenchWindow();

    /// Runs a simulated run at `period` (the period field's text) from a GO click until
    /// `shouldStop` (checked every `pollMs` inside the run's pumps) says so, then STOP.
    /// Returns the log file's path.
    std::string run(const std::string& period, const std::function<bool()>& shouldStop,
                    int pollMs = 10);
    /// The same, with STOP clicked `stopAfterMs` after GO and nothing else waking the run.
    std::string runFor(const std::string& period, int stopAfterMs);

    ui::Form1& form() { return *form_; }
    std::string logPath() const { return folder_ + "/log.dat"; }

private:
    void prepare(const std::string& period);

    platform::SteadyClock clock_;
    platform::LocalCalendar calendar_;
    platform::FixedSeedRandom random_;
    platform::PosixFileSystem files_;
    platform::LazyPort port_{platform::openDefaultPort};
    platform::BusyWaitDelay delay_;
    ui::QtEventPump pump_{clock_};
    ConsoleMessages messages_;
    NoSaveDialog saveDialog_;
    std::unique_ptr<platform::ThreadPriority> threadPriority_;
    std::unique_ptr<ui::Form1> form_;
    std::string folder_;
};

/// Resident set size of this process, in bytes.
std::int64_t residentBytes();
/// CPU time (user + system) of this process, in seconds.
double cpuSeconds();
/// Monotonic wall time, in seconds.
double wallSeconds();

void print(const std::string& name, double value);

} // namespace ombrelis::bench

#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <ombrelis/chart/DrawingSurface.h>
#include <ombrelis/chart/StripChart.h>
#include <ombrelis/engine/EventPump.h>
#include <ombrelis/engine/LogFile.h>
#include <ombrelis/engine/MessageBoxes.h>
#include <ombrelis/engine/RunPriority.h>
#include <ombrelis/engine/ValueSources.h>
#include <ombrelis/engine/WindowOperations.h>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/FileSystem.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <optional>
#include <string>

namespace ombrelis::engine {

/// The outside world of a sampling run.
struct RunServices {
    platform::Clock& clock;
    EventPump& pump;
    MessageBoxes& messages;
    platform::FileSystem& files;
    platform::Calendar& calendar;
    Convertisseur& convertisseur;
    Simulateur& simulateur;
    /// The run's thread is raised to it while the run paces its samples (RunPriority).
    platform::ThreadPriority& threadPriority;
};

/// Carries out sampling runs for one window, and holds the window's strip chart. A run holds
/// the calling thread from GO until it notices STOP; the window stays responsive through the
/// pumps of each cycle, and a handler run inside such a pump may start a second run (MainLoop
/// is re-entrant). A run holds the writers' lock of its log file (FileSystem), so no other run,
/// here or in another program, can delete or write the file it is writing.
class SamplingRun {
public:
    /// The chart is drawn on `chartSurface`, which the window provides.
    SamplingRun(WindowOperations& window, chart::DrawingSurface& chartSurface,
                RunServices services);

    /// One whole run. Never throws: a failure stops the run, closes the log file with every
    /// record written so far, puts the window back to idle and tells the user why.
    void MainLoop();

    /// Chart reset to the time-axis field's width, for the run and for the window's handlers
    /// alike: one chart, one sweep start. Throws NumberTooLarge for an axis number too large.
    void InitCourbe();
    const chart::StripChart& chart() const noexcept { return chart_; }

    /// Highest record number a run may write before it stops with an error. The default is
    /// the largest 32-bit count; tests lower it to reach the limit.
    void setRecordLimit(std::int32_t limit) noexcept { recordLimit_ = limit; }

private:
    bool prepare(std::optional<LogFile>& log, const std::string& name);
    std::unique_ptr<platform::RecordFile> createLog(const std::string& name);
    void cycles(LogFile& log);
    /// Step 4 of a cycle: pumps events until the clock reaches `tick` + `period`, the number of
    /// `periodText`; an edit of the period field meanwhile sets a new deadline from the same
    /// tick. False when STOP or a close came meanwhile: the run then ends at once, without the
    /// sample it waited for.
    bool waitUntil(std::int64_t tick, double period, std::string periodText);
    bool stopRequested();

    WindowOperations& window_;
    RunServices services_;
    chart::StripChart chart_;
    RunPriority priority_;
    std::int32_t recordLimit_ = std::numeric_limits<std::int32_t>::max();
};

} // namespace ombrelis::engine

#pragma once

#include <QApplication>
#include <memory>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/platform/NativeFileSystem.h>
#include <ombrelis/platform/PortIo.h>
#include <ombrelis/platform/RandomSource.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/QtEventPump.h>
#include <ombrelis/ui/QtMessageBoxes.h>
#include <ombrelis/ui/SaveDialog.h>
#include <ombrelis/ui/TerminationSignals.h>

namespace ombrelis::app {

/// The program as its users start it: the main window over the real services, loaded and
/// shown, in the faces and French texts it carries, and ended by the system as by its close
/// button. main() adds only the event loop; the tests start it whole in a child process.
class Program {
public:
    /// Settings of the whole process, made before the application object exists.
    static void prepareProcess();

    explicit Program(QApplication& application);
    ui::Form1& window() noexcept { return window_; }

private:
    ui::QtMessageBoxes messages_;
    bool facesInstalled_;
    platform::SteadyClock clock_;
    platform::LocalCalendar calendar_;
    platform::FixedSeedRandom random_;
    platform::NativeFileSystem files_;
    platform::LazyPort port_;
    platform::BusyWaitDelay delay_;
    ui::QtEventPump pump_;
    ui::QtSaveDialog saveDialog_;
    std::unique_ptr<platform::ThreadPriority> threadPriority_;
    ui::Form1 window_;
    ui::TerminationSignals endedBySystem_;
};

} // namespace ombrelis::app

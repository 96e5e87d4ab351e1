#include <QApplication>
#include <exception>
#include <ombrelis/engine/AppInfo.h>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/FileSizeLimit.h>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/platform/NativeFileSystem.h>
#include <ombrelis/platform/PortIo.h>
#include <ombrelis/platform/RandomSource.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <ombrelis/ui/DesktopRealtime.h>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/QtEventPump.h>
#include <ombrelis/ui/QtMessageBoxes.h>
#include <ombrelis/ui/SaveDialog.h>
#include <ombrelis/ui/ShippedResources.h>
#include <ombrelis/ui/TerminationSignals.h>
#include <ombrelis/ui/X11Images.h>

int main(int argc, char** argv) {
    using namespace ombrelis;
    ui::sendX11ImagesThroughTheConnection();
    platform::writesPastFileSizeLimitFail();
    QApplication application(argc, argv);
    ui::QtMessageBoxes messages;
    try {
        ui::installShippedFacesAndFrench(application);
    } catch (const std::exception& failure) {
        // The window still works, in the machine's faces; the user learns why it looks off.
        messages.reportError(kApplicationTitle, failure.what());
    }

    platform::SteadyClock clock;
    platform::LocalCalendar calendar;
    platform::FixedSeedRandom random;
    platform::NativeFileSystem files;
    // Bound at the first conversion: a simulated run never opens the port.
    platform::LazyPort port(platform::openDefaultPort);
    platform::BusyWaitDelay delay;
    ui::QtEventPump pump(clock);
    ui::QtSaveDialog saveDialog(messages);
    // The run wakes on time on a busy machine where the system allows it (README).
    const auto threadPriority = platform::systemThreadPriority(ui::desktopRealtimeBroker());

    ui::Form1 window(
        {clock, pump, calendar, random, files, port, delay, messages, saveDialog, *threadPriority});
    const ui::TerminationSignals endedBySystem(window);
    window.Form_Load();
    window.show();
    return QApplication::exec();
}

#include <exception>
#include <ombrelis/app/Program.h>
#include <ombrelis/engine/AppInfo.h>
#include <ombrelis/platform/FileSizeLimit.h>
#include <ombrelis/ui/DesktopRealtime.h>
#include <ombrelis/ui/ShippedResources.h>
#include <ombrelis/ui/X11Images.h>

namespace ombrelis::app {

namespace {

bool installFaces(QApplication& application, engine::MessageBoxes& messages) {
    try {
        ui::installShippedFacesAndFrench(application);
        return true;
    } catch (const std::exception& failure) {
        // The window still works, in the machine's faces; the user learns why it looks off.
        messages.reportError(kApplicationTitle, failure.what());
        return false;
    }
}

} // namespace

void Program::prepareProcess() {
    ui::sendX11ImagesThroughTheConnection();
    platform::writesPastFileSizeLimitFail();
}

Program::Program(QApplication& application)
    : facesInstalled_(installFaces(application, messages_)),
      // Bound at the first conversion: a simulated run never opens the port.
      port_(platform::openDefaultPort), pump_(clock_), saveDialog_(messages_),
      // The run wakes on time on a busy machine where the system allows it (README).
      threadPriority_(platform::systemThreadPriority(ui::desktopRealtimeBroker())),
      window_({clock_, pump_, calendar_, random_, files_, port_, delay_, messages_, saveDialog_,
               *threadPriority_}),
      endedBySystem_(window_) {
    window_.Form_Load();
    window_.show();
}

} // namespace ombrelis::app

#pragma once

#include <QImage>
#include <memory>
#include <ombrelis/logtool/Commands.h>
#include <ombrelis/logtool/PlotTrace.h>
#include <optional>
#include <string>

class QGuiApplication;

namespace ombrelis::logtool {

/// Qt's GUI module for drawing pictures without a screen. Unless the user chose a platform
/// (QT_QPA_PLATFORM), it uses the offscreen one: the tool never shows a window, so a display
/// would only be one more thing that can be missing or slow (a forwarded X connection). On
/// Windows the system's own platform, which is always there and draws without showing a
/// window; the offscreen one would find none of the machine's faces there. Creates the application object only when there is none yet.
class OffscreenGui {
public:
    OffscreenGui(int& argc, char** argv);
    ~OffscreenGui();
    OffscreenGui(const OffscreenGui&) = delete;
    OffscreenGui& operator=(const OffscreenGui&) = delete;

private:
    std::unique_ptr<QGuiApplication> app_;
};

/// The whole run as a picture: a dark chart like the live one (green trace, red dotted lines
/// at 1, 2 and 3 V), time in seconds across, 0 to 4.096 V up, `title` above. Needs a
/// QGuiApplication (OffscreenGui).
QImage renderPlot(const PlotTrace& trace, const std::string& title, int width, int height);

/// renderPlot, written as PNG to request.outputPath through a temporary file, so a failed
/// write never leaves half a picture. Returns the reason, in French, on failure. Matches
/// PlotWriter.
std::optional<std::string> savePlotPng(const PlotTrace& trace, const PlotRequest& request);

} // namespace ombrelis::logtool

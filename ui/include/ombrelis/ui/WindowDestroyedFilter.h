#pragma once

#include <QAbstractNativeEventFilter>
#include <functional>

class QWidget;

namespace ombrelis::ui {

/// Tells when the window system destroys a window without asking it to close first: another
/// program destroying it (xdotool windowclose), or a window manager that crashed. On X11 the
/// only sign is the DestroyNotify event; other window systems never destroy a program's window
/// behind its back.
class WindowDestroyedFilter final : public QAbstractNativeEventFilter {
public:
    /// Watches `window` from now on, and calls `destroyed` when its native window is gone.
    WindowDestroyedFilter(const QWidget& window, std::function<void()> destroyed);
    ~WindowDestroyedFilter() override;
    WindowDestroyedFilter(const WindowDestroyedFilter&) = delete;
    WindowDestroyedFilter& operator=(const WindowDestroyedFilter&) = delete;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    const QWidget& window_;
    std::function<void()> destroyed_;
};

} // namespace ombrelis::ui

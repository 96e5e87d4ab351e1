#include <QCoreApplication>
#include <QWidget>
#include <cstdint>
#include <cstring>
#include <ombrelis/ui/WindowDestroyedFilter.h>
#include <utility>

namespace ombrelis::ui {

namespace {

// The X11 protocol's DestroyNotify event, as the xcb library hands it over: the event code in
// the first byte (its top bit set when another client sent it), the destroyed window's id in
// the four bytes from byte 8. Read by offset, so that the build needs no X11 headers.
constexpr unsigned char kDestroyNotify = 17;
constexpr std::size_t kDestroyedWindowAt = 8;

} // namespace

WindowDestroyedFilter::WindowDestroyedFilter(const QWidget& window, std::function<void()> destroyed)
    : window_(window), destroyed_(std::move(destroyed)) {
    QCoreApplication::instance()->installNativeEventFilter(this);
}

WindowDestroyedFilter::~WindowDestroyedFilter() {
    if (QCoreApplication::instance() != nullptr) {
        QCoreApplication::instance()->removeNativeEventFilter(this);
    }
}

bool WindowDestroyedFilter::nativeEventFilter(const QByteArray& eventType, void* message,
                                              qintptr*) {
    if (eventType != "xcb_generic_event_t" || message == nullptr) {
        return false;
    }
    const auto* bytes = static_cast<const unsigned char*>(message);
    if ((bytes[0] & 0x7F) != kDestroyNotify) {
        return false;
    }
    std::uint32_t destroyedWindow = 0;
    std::memcpy(&destroyedWindow, bytes + kDestroyedWindowAt, sizeof destroyedWindow);
    const WId ours = window_.internalWinId();
    if (ours != 0 && destroyedWindow == ours) {
        destroyed_();
    }
    // Qt sees the event too.
    return false;
}

} // namespace ombrelis::ui

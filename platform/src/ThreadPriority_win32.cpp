// The Windows build's run priority. Within the normal priority class any user may move a
// thread of their own up to "highest" (base priority 10) without administrator rights: above
// the desktop's ordinary threads (8), so that the run is woken on time when the machine is
// busy, and still below the system's own time-critical threads. No watchdog is needed as on
// Linux: a thread at this priority cannot shut out the rest of the system as a real-time one
// can, Windows' balance set manager still gives starving threads their turn.
#include "WindowsApi.h"

#include <ombrelis/platform/ThreadPriority.h>

namespace ombrelis::platform {

namespace {

class WindowsThreadPriority final : public ThreadPriority {
public:
    bool raise() override {
        const int before = ::GetThreadPriority(::GetCurrentThread());
        if (before == THREAD_PRIORITY_ERROR_RETURN) {
            return false;
        }
        if (before >= THREAD_PRIORITY_HIGHEST) {
            return true; // already, by us or by whoever started the program so
        }
        if (!::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_HIGHEST)) {
            return false;
        }
        before_ = before;
        raisedHere_ = true;
        return true;
    }

    void lower() override {
        if (!raisedHere_) {
            return;
        }
        raisedHere_ = false;
        ::SetThreadPriority(::GetCurrentThread(), before_);
    }

private:
    int before_ = THREAD_PRIORITY_NORMAL;
    bool raisedHere_ = false;
};

} // namespace

std::unique_ptr<ThreadPriority> systemThreadPriority(RealtimeBroker) {
    return std::make_unique<WindowsThreadPriority>();
}

} // namespace ombrelis::platform

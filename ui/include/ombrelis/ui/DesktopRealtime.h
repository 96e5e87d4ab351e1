#pragma once

#include <ombrelis/platform/ThreadPriority.h>

namespace ombrelis::ui {

/// The desktop's way to real-time scheduling for a user without the right to it: rtkit on
/// the system bus, as sound servers get it (Linux; an empty broker elsewhere). It refuses
/// quietly when rtkit is missing, not allowed by the session's policy, or slow to answer.
platform::RealtimeBroker desktopRealtimeBroker();

} // namespace ombrelis::ui

#include "WindowsApi.h"

#include <cstdio>
#include <ombrelis/platform/Calendar.h>

namespace ombrelis::platform {

// GetLocalTime applies the time zone and daylight saving time of the machine's settings, as
// the time of day shown anywhere else on it. The text is rebuilt only when the second changes.
std::string LocalCalendar::timeOfDay() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    const std::time_t day =
        (static_cast<std::time_t>(local.wYear) * 13 + local.wMonth) * 32 + local.wDay;
    const std::time_t second = ((day * 24 + local.wHour) * 60 + local.wMinute) * 60 + local.wSecond;
    if (second != cachedSecond_ || cachedText_.empty()) {
        char text[16];
        std::snprintf(text, sizeof text, "%02u:%02u:%02u", local.wHour, local.wMinute,
                      local.wSecond);
        cachedText_.assign(text, 8);
        cachedSecond_ = second;
    }
    return cachedText_;
}

Date LocalCalendar::today() {
    SYSTEMTIME local{};
    ::GetLocalTime(&local);
    return Date{local.wDay, local.wMonth, local.wYear};
}

} // namespace ombrelis::platform

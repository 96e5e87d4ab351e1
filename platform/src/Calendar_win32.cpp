#include "WindowsApi.h"

#include <cstdint>
#include <cstdio>
#include <ombrelis/platform/Calendar.h>

namespace ombrelis::platform {

namespace {

/// Seconds from 1601-01-01, where FILETIME counts from, to 1970-01-01.
constexpr std::int64_t kEpochOffsetSeconds = 11'644'473'600;

// The machine's time zone and daylight saving time, those of its settings now, as the time
// of day shown anywhere else on it.
SYSTEMTIME localTime(std::time_t when) {
    const auto ticks = static_cast<std::uint64_t>(when + kEpochOffsetSeconds) * 10'000'000;
    const FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    ::FileTimeToSystemTime(&file, &utc);
    // Settings that cannot be read leave universal time: a time of day off by the zone is
    // better than none.
    return ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ? local : utc;
}

} // namespace

// Called once per sample: the text only changes once a second, and the conversion to local
// time is far dearer than reading the time, so the text is rebuilt only when the second
// changes.
std::string LocalCalendar::timeOfDay() {
    const std::time_t now = now_();
    if (now != cachedSecond_ || cachedText_.empty()) {
        const SYSTEMTIME local = localTime(now);
        char text[16];
        std::snprintf(text, sizeof text, "%02u:%02u:%02u", local.wHour, local.wMinute,
                      local.wSecond);
        cachedText_.assign(text, 8);
        cachedSecond_ = now;
    }
    return cachedText_;
}

Date LocalCalendar::today() {
    const SYSTEMTIME local = localTime(now_());
    return Date{local.wDay, local.wMonth, local.wYear};
}

} // namespace ombrelis::platform

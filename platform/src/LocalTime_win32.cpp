#include "LocalTime.h"
#include "WindowsApi.h"

#include <cstdint>

namespace ombrelis::platform {

namespace {
/// Seconds from 1601-01-01, where FILETIME counts from, to 1970-01-01.
constexpr std::int64_t kEpochOffsetSeconds = 11'644'473'600;
} // namespace

LocalFields localFields(std::time_t when) {
    const auto ticks = static_cast<std::uint64_t>(when + kEpochOffsetSeconds) * 10'000'000;
    const FILETIME file{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{};
    SYSTEMTIME local{};
    ::FileTimeToSystemTime(&file, &utc);
    // Settings that cannot be read leave universal time: a time of day off by the zone is
    // better than none.
    const SYSTEMTIME& shown =
        ::SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) ? local : utc;
    return {shown.wHour, shown.wMinute, shown.wSecond, shown.wDay, shown.wMonth, shown.wYear};
}

} // namespace ombrelis::platform

#include <ombrelis/platform/Calendar.h>

#include <cstdio>
#include <ctime>

namespace ombrelis::platform {

namespace {
std::tm localNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}
} // namespace

std::string LocalCalendar::timeOfDay() {
    const std::tm local = localNow();
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min,
                  local.tm_sec);
    return std::string(text, 8);
}

Date LocalCalendar::today() {
    const std::tm local = localNow();
    return Date{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

} // namespace ombrelis::platform

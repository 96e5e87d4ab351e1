#include <cstdio>
#include <ombrelis/platform/Calendar.h>

namespace ombrelis::platform {

namespace {
std::tm localTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return local;
}
} // namespace

// Called once per sample: the text only changes once a second, and localtime_r is far dearer
// than time(), so the text is rebuilt only when the second changes.
std::string LocalCalendar::timeOfDay() {
    const std::time_t now = now_();
    if (now != cachedSecond_ || cachedText_.empty()) {
        const std::tm local = localTime(now);
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.tm_hour, local.tm_min,
                      local.tm_sec);
        cachedText_.assign(text, 8);
        cachedSecond_ = now;
    }
    return cachedText_;
}

Date LocalCalendar::today() {
    const std::tm local = localTime(now_());
    return Date{local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

} // namespace ombrelis::platform

#include "LocalTime.h"

#include <cstdio>
#include <ombrelis/platform/Calendar.h>

namespace ombrelis::platform {

// Called once per sample: the text only changes once a second, and the conversion to local
// time is far dearer than reading the time, so the text is rebuilt only when the second
// changes.
std::string LocalCalendar::timeOfDay() {
    const std::time_t now = now_();
    if (now != cachedSecond_ || cachedText_.empty()) {
        const LocalFields local = localFields(now);
        char text[16];
        std::snprintf(text, sizeof text, "%02d:%02d:%02d", local.hour, local.minute, local.second);
        cachedText_.assign(text, 8);
        cachedSecond_ = now;
    }
    return cachedText_;
}

Date LocalCalendar::today() {
    const LocalFields local = localFields(now_());
    return Date{local.day, local.month, local.year};
}

} // namespace ombrelis::platform

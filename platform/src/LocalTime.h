#pragma once

#include <ctime>

namespace ombrelis::platform {

/// A moment as the machine's clock shows it: its time zone and daylight saving time now.
struct LocalFields {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int day = 1;
    int month = 1; ///< 1..12
    int year = 1970;
};

/// The system's own conversion (one per system).
LocalFields localFields(std::time_t when);

} // namespace ombrelis::platform

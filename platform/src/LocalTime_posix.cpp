#include "LocalTime.h"

namespace ombrelis::platform {

LocalFields localFields(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return {local.tm_hour, local.tm_min,     local.tm_sec,
            local.tm_mday, local.tm_mon + 1, local.tm_year + 1900};
}

} // namespace ombrelis::platform

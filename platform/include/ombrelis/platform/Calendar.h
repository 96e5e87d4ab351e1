#pragma once

#include <ctime>
#include <functional>
#include <string>

namespace ombrelis::platform {

struct Date {
    int day = 1;   ///< 1..31
    int month = 1; ///< 1..12
    int year = 1970;
};

/// Wall-clock time of day and date, in local time.
class Calendar {
public:
    virtual ~Calendar() = default;
    /// Always exactly 8 characters: "HH:MM:SS", 24-hour clock.
    virtual std::string timeOfDay() = 0;
    virtual Date today() = 0;
};

/// The system's time zone (TZ) over a source of the current time, std::time by default.
class LocalCalendar final : public Calendar {
public:
    explicit LocalCalendar(std::function<std::time_t()> now = [] { return std::time(nullptr); })
        : now_(std::move(now)) {}
    std::string timeOfDay() override;
    Date today() override;

private:
    std::function<std::time_t()> now_;
    std::time_t cachedSecond_ = 0;
    std::string cachedText_;
};

} // namespace ombrelis::platform

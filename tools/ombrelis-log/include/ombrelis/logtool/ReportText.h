#pragma once

#include <cstdint>
#include <ombrelis/logtool/LogCheck.h>
#include <string>
#include <string_view>

namespace ombrelis::logtool {

/// A duration for people: "12.345 s", and from a minute on "3725.500 s (1:02:05.500)".
std::string durationText(std::int64_t ms);

/// The report of `check`, one screen of text ending with a line feed.
std::string reportText(const CheckReport& report, std::string_view fileName);

} // namespace ombrelis::logtool

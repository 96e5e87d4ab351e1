#pragma once

#include <cstdint>
#include <ombrelis/logtool/LogCheck.h>
#include <string>
#include <string_view>

namespace ombrelis::logtool {

/// A number as French writes it: its decimal point as a comma ("1.024" gives "1,024"). Only
/// texts for people: the CSV keeps the point that other programs read.
std::string withDecimalComma(std::string number);

/// A duration for people: "12,345 s", and from a minute on "3725,500 s (1:02:05,500)".
std::string durationText(std::int64_t ms);

/// The report of `check`, in French, one screen of text ending with a line feed. `inputName`
/// names the log as the messages do (le fichier « name »).
std::string reportText(const CheckReport& report, std::string_view inputName);

} // namespace ombrelis::logtool

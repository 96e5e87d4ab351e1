// Any text a user can type into the period or time-axis field.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <ombrelis/engine/TextNumber.h>
#include <string>
#include <string_view>

namespace {

bool startsWithDigitOrPoint(std::string_view text) {
    for (const char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') {
            continue; // blanks are skipped wherever they stand
        }
        return (c >= '0' && c <= '9') || c == '.';
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace ombrelis::engine;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    double value = 0;
    try {
        value = textToNumber(text);
    } catch (const NumberTooLarge&) {
        return 0;
    }
    if (!std::isfinite(value)) {
        std::abort(); // the contract: a finite number or NumberTooLarge
    }
    if (!text.empty() && text.size() <= 15 &&
        text.find_first_not_of("0123456789") == std::string_view::npos &&
        value != static_cast<double>(std::strtoll(std::string(text).c_str(), nullptr, 10))) {
        std::abort(); // a plain whole number reads as itself
    }
    if (startsWithDigitOrPoint(text)) {
        // A minus sign in front reads the same number, negated.
        double negated = 0;
        try {
            negated = textToNumber("-" + std::string(text));
        } catch (const NumberTooLarge&) {
            std::abort(); // the magnitude was accepted without the sign
        }
        if (negated != -value) {
            std::abort();
        }
    }
    try {
        const double width = axisWidthMs(text);
        if (!std::isfinite(width) || width != value * 1000.0) {
            std::abort();
        }
    } catch (const NumberTooLarge&) {
        // value * 1000 overflowed: only possible for the largest finite values
        if (std::fabs(value) < 1e305) {
            std::abort();
        }
    }
    return 0;
}

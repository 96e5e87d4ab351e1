#include <cctype>
#include <charconv>
#include <cmath>
#include <ombrelis/engine/TextNumber.h>
#include <string>

namespace ombrelis::engine {

NumberTooLarge::NumberTooLarge(std::string_view text)
    : std::runtime_error("Le nombre « " + std::string(text) +
                         " » est trop grand pour être utilisé.") {}

namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

/// The text with blanks, tabs and line feeds removed: they are skipped wherever they stand.
std::string withoutBlanks(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        if (!isBlank(c)) {
            out.push_back(c);
        }
    }
    return out;
}

double wholeNumberInBase(std::string_view digits, int base) {
    double value = 0.0;
    for (char c : digits) {
        int d = -1;
        if (c >= '0' && c <= '9') {
            d = c - '0';
        } else if (base == 16 && c >= 'a' && c <= 'f') {
            d = c - 'a' + 10;
        } else if (base == 16 && c >= 'A' && c <= 'F') {
            d = c - 'A' + 10;
        }
        if (d < 0 || d >= base) {
            break;
        }
        value = value * base + d;
    }
    return value;
}

} // namespace

double textToNumber(std::string_view text) {
    const std::string s = withoutBlanks(text);
    if (s.size() >= 2 && s[0] == '&') {
        const char kind = static_cast<char>(std::toupper(static_cast<unsigned char>(s[1])));
        if (kind == 'H' || kind == 'O') {
            const double v = wholeNumberInBase(std::string_view(s).substr(2), kind == 'H' ? 16 : 8);
            if (!std::isfinite(v)) {
                throw NumberTooLarge(text);
            }
            return v;
        }
    }

    // Normalise the longest prefix that reads as a decimal number into from_chars' grammar.
    std::string number;
    std::size_t i = 0;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    bool anyDigit = false;
    int firstSignificantPower = 0; // decimal exponent of the leading non-zero digit, if any
    bool seenSignificant = false;
    int integerDigits = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
        number.push_back(s[i]);
        anyDigit = true;
        ++integerDigits;
        if (!seenSignificant && s[i] != '0') {
            seenSignificant = true;
            firstSignificantPower = -integerDigits; // fixed below once the count is known
        }
        ++i;
    }
    if (seenSignificant) {
        firstSignificantPower += integerDigits; // power of ten of that digit
    }
    if (i < s.size() && s[i] == '.') {
        number.push_back('.');
        ++i;
        int fractionPosition = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i]))) {
            number.push_back(s[i]);
            anyDigit = true;
            --fractionPosition;
            if (!seenSignificant && s[i] != '0') {
                seenSignificant = true;
                firstSignificantPower = fractionPosition;
            }
            ++i;
        }
    }
    if (!anyDigit) {
        return 0.0;
    }
    long long exponent = 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e' || s[i] == 'D' || s[i] == 'd')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            expNegative = s[j] == '-';
            ++j;
        }
        if (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
            while (j < s.size() && std::isdigit(static_cast<unsigned char>(s[j]))) {
                if (exponent < 100000) {
                    exponent = exponent * 10 + (s[j] - '0');
                }
                ++j;
            }
            if (expNegative) {
                exponent = -exponent;
            }
        }
    }
    if (!seenSignificant) {
        return negative ? -0.0 : 0.0;
    }
    const long long magnitude = firstSignificantPower + exponent;
    if (magnitude > 400) {
        throw NumberTooLarge(text);
    }
    if (magnitude < -400) {
        return negative ? -0.0 : 0.0;
    }
    number += 'e';
    number += std::to_string(exponent);

    double value = 0.0;
    const auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) {
        if (magnitude > 0) {
            throw NumberTooLarge(text);
        }
        value = 0.0; // too small to represent: it reads as zero
    }
    if (!std::isfinite(value)) {
        throw NumberTooLarge(text);
    }
    return negative ? -value : value;
}

double axisWidthMs(std::string_view axisText) {
    const double width = textToNumber(axisText) * 1000.0;
    if (!std::isfinite(width)) {
        throw NumberTooLarge(axisText);
    }
    return width;
}

} // namespace ombrelis::engine

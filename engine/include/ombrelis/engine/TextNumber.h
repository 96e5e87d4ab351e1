#pragma once

#include <stdexcept>
#include <string>
#include <string_view>

namespace ombrelis::engine {

/// A field holds a number too large for a double.
class NumberTooLarge : public std::runtime_error {
public:
    explicit NumberTooLarge(std::string_view text);
};

/// The number at the start of a field's text: blanks, tabs and line feeds are skipped wherever
/// they stand; then an optional sign, digits, an optional "." and fraction, an optional exponent
/// introduced by E or D; "&H" / "&O" introduce a hexadecimal / octal whole number. Reading stops
/// at the first character that does not fit; a text that does not begin with a number gives 0.
/// "." is the decimal point whatever the locale. Throws NumberTooLarge on overflow.
double textToNumber(std::string_view text);

/// The time-axis text as the sweep width in milliseconds (its number times 1000).
/// Throws NumberTooLarge when the product is not finite.
double axisWidthMs(std::string_view axisText);

} // namespace ombrelis::engine

#include <charconv>
#include <ombrelis/engine/StatusLine.h>

namespace ombrelis::engine {

namespace {
void appendNumber(std::string& text, std::int64_t value) {
    char digits[24];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    text.append(digits, end);
}
} // namespace

// Built once per sample: one allocation, no locale, no stream.
std::string statusText(std::int32_t compteur, std::int32_t ecoule, std::int16_t valeur,
                       std::int64_t interval) {
    std::string text;
    text.reserve(112);
    text += "Mesure : ";
    appendNumber(text, compteur);
    text += "     T - T0 : ";
    appendNumber(text, ecoule);
    text += " ms";
    text += "     Valeur : ";
    appendNumber(text, valeur);
    text += "   Frq réelle : ";
    appendNumber(text, interval);
    return text;
}

} // namespace ombrelis::engine

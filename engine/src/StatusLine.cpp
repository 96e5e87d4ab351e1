#include <ombrelis/engine/StatusLine.h>

namespace ombrelis::engine {

std::string statusText(std::int32_t compteur, std::int32_t ecoule, std::int16_t valeur,
                       std::int64_t interval) {
    std::string text = "Mesure : ";
    text += std::to_string(compteur);
    text += "     T - T0 : ";
    text += std::to_string(ecoule);
    text += " ms";
    text += "     Valeur : ";
    text += std::to_string(valeur);
    text += "   Frq réelle : ";
    text += std::to_string(interval);
    return text;
}

} // namespace ombrelis::engine

#include <cstdio>
#include <ombrelis/engine/FileNameCheck.h>

namespace ombrelis::engine {

namespace {

bool isControl(unsigned char c) {
    return c < 0x20 || c == 0x7F;
}

std::string describe(unsigned char c) {
    switch (c) {
    case '\n':
        return "un saut de ligne";
    case '\r':
        return "un retour chariot";
    case '\t':
        return "une tabulation";
    case 0x7F:
        return "le caractère d'effacement (DEL)";
    default:
        return "un caractère de contrôle";
    }
}

} // namespace

std::optional<std::string> fileNameProblem(std::string_view name) {
    std::size_t position = 0; // in characters, as the user counts them in the field
    for (const char byte : name) {
        const auto c = static_cast<unsigned char>(byte);
        if ((c & 0xC0) != 0x80) { // not a UTF-8 continuation byte: a new character
            ++position;
        }
        if (isControl(c)) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            return "Le nom du fichier contient " + describe(c) + " (" + code + ") en position " +
                   std::to_string(position) +
                   ", sans doute venu d'un copier-coller : un nom de fichier ne peut pas en "
                   "contenir. Effacez-le, ou choisissez le fichier avec le bouton « ... ».";
        }
    }
    return std::nullopt;
}

} // namespace ombrelis::engine

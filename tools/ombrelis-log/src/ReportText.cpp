#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ombrelis/logtool/ReportText.h>

namespace ombrelis::logtool {

namespace {

/// "  label" and the text, the texts of all lines in one column.
std::string line(std::string_view label, const std::string& text) {
    // Characters, not bytes: "durée" is six bytes of UTF-8.
    const auto width = static_cast<std::size_t>(
        std::count_if(label.begin(), label.end(), [](char c) { return (c & 0xC0) != 0x80; }));
    std::string out = "  ";
    out += label;
    out.append(width < 12 ? 12 - width : 1, ' ');
    return out + text + "\n";
}

/// French counts 0 and 1 in the singular.
std::string plural(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n <= 1 ? one : many);
}

std::string sizeText(const CheckReport& r) {
    const std::uint64_t bytes = r.records * engine::kRecordSize + r.trailingBytes;
    std::string text = plural(bytes, "octet", "octets") + " : " +
                       plural(r.records, "mesure entière", "mesures entières") + " de 14 octets";
    if (r.trailingBytes != 0) {
        text += ", puis une mesure incomplète de " + plural(r.trailingBytes, "octet", "octets");
    }
    return text;
}

std::string valueText(std::int16_t valeur, std::uint64_t record) {
    return std::to_string(valeur) + " (" + withDecimalComma(voltsText(valeur)) + " V, mesure " +
           std::to_string(record) + ")";
}

std::string faultsText(const CheckReport& r) {
    std::string text;
    const auto add = [&text](const std::string& item) {
        text += (text.empty() ? "" : ", ") + item;
    };
    if (r.firstTempsNotZero) {
        add("la mesure 1 ne commence pas à TempsMs 0");
    }
    if (r.tempsDecreases != 0) {
        add(std::to_string(r.tempsDecreases) + " × TempsMs en recul");
    }
    if (r.badHeures != 0) {
        add(std::to_string(r.badHeures) + " × Heure incorrecte");
    }
    if (r.valeursOutOfRange != 0) {
        add(std::to_string(r.valeursOutOfRange) + " × Valeur hors de 0 à 4095");
    }
    if (r.trailingBytes != 0) {
        add("une mesure incomplète à la fin");
    }
    return text;
}

} // namespace

std::string withDecimalComma(std::string number) {
    if (const std::size_t point = number.find('.'); point != std::string::npos) {
        number[point] = ',';
    }
    return number;
}

std::string durationText(std::int64_t ms) {
    const long long magnitude = std::llabs(static_cast<long long>(ms));
    const char* sign = ms < 0 ? "-" : "";
    char text[96];
    if (magnitude < 60'000) {
        std::snprintf(text, sizeof text, "%s%lld,%03lld s", sign, magnitude / 1000,
                      magnitude % 1000);
    } else {
        std::snprintf(text, sizeof text, "%s%lld,%03lld s (%s%lld:%02lld:%02lld,%03lld)", sign,
                      magnitude / 1000, magnitude % 1000, sign, magnitude / 3'600'000,
                      magnitude / 60'000 % 60, magnitude / 1000 % 60, magnitude % 1000);
    }
    return text;
}

std::string reportText(const CheckReport& r, std::string_view inputName) {
    std::string out = "ombrelis-log check : " + std::string(inputName) + "\n";
    out += line("taille", sizeText(r));
    if (r.records == 0) {
        out += line("durée", "aucune mesure : rien à calculer");
    } else {
        out += line("durée",
                    durationText(r.durationMs) + ", de " + r.firstHeure + " à " + r.lastHeure);
        if (r.records == 1) {
            out += line("intervalle", "aucun : une seule mesure");
        } else {
            char mean[64];
            std::snprintf(mean, sizeof mean, "%.1f", r.meanIntervalMs);
            out += line("intervalle", "moyen " + withDecimalComma(mean) + " ms, le plus long " +
                                          std::to_string(r.largestIntervalMs) + " ms (mesures " +
                                          std::to_string(r.largestIntervalRecord - 1) + " à " +
                                          std::to_string(r.largestIntervalRecord) + ")");
        }
        out += line("valeurs",
                    "la plus petite " + valueText(r.smallestValeur, r.smallestValeurRecord) +
                        ", la plus grande " + valueText(r.largestValeur, r.largestValeurRecord));
    }
    if (r.sound()) {
        out += line("verdict", r.records == 0 ? "SAIN, mais vide" : "SAIN");
        return out;
    }
    std::string why;
    for (const std::string& reason : r.firstFault->why) {
        why += (why.empty() ? "" : " ; ") + reason;
    }
    out += line("verdict", "ENDOMMAGÉ à partir de la mesure " +
                               std::to_string(r.firstFault->record) + " : " + why);
    out += line("défauts", faultsText(r));
    return out;
}

} // namespace ombrelis::logtool

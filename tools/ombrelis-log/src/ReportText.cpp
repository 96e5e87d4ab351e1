#include <cstdio>
#include <cstdlib>
#include <ombrelis/logtool/ReportText.h>

namespace ombrelis::logtool {

namespace {

std::string line(std::string_view label, const std::string& text) {
    std::string out = "  ";
    out += label;
    out.append(label.size() < 10 ? 10 - label.size() : 1, ' ');
    return out + text + "\n";
}

std::string plural(std::uint64_t n, const char* one, const char* many) {
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

std::string sizeText(const CheckReport& r) {
    const std::uint64_t bytes = r.records * engine::kRecordSize + r.trailingBytes;
    std::string text = plural(bytes, "byte", "bytes") + ": " +
                       plural(r.records, "whole record", "whole records") + " of 14 bytes";
    if (r.trailingBytes != 0) {
        text += ", then a partial record of " + plural(r.trailingBytes, "byte", "bytes");
    }
    return text;
}

std::string valueText(std::int16_t valeur, std::uint64_t record) {
    return std::to_string(valeur) + " (" + voltsText(valeur) + " V, record " +
           std::to_string(record) + ")";
}

std::string faultsText(const CheckReport& r) {
    std::string text;
    const auto add = [&text](const std::string& item) {
        text += (text.empty() ? "" : ", ") + item;
    };
    if (r.firstTempsNotZero) {
        add("record 1 does not start at TempsMs 0");
    }
    if (r.tempsDecreases != 0) {
        add(std::to_string(r.tempsDecreases) + " × TempsMs going back");
    }
    if (r.badHeures != 0) {
        add(std::to_string(r.badHeures) + " × bad Heure");
    }
    if (r.valeursOutOfRange != 0) {
        add(std::to_string(r.valeursOutOfRange) + " × Valeur out of range");
    }
    if (r.trailingBytes != 0) {
        add("a partial record at the end");
    }
    return text;
}

} // namespace

std::string durationText(std::int64_t ms) {
    const long long magnitude = std::llabs(static_cast<long long>(ms));
    const char* sign = ms < 0 ? "-" : "";
    char text[96];
    if (magnitude < 60'000) {
        std::snprintf(text, sizeof text, "%s%lld.%03lld s", sign, magnitude / 1000,
                      magnitude % 1000);
    } else {
        std::snprintf(text, sizeof text, "%s%lld.%03lld s (%s%lld:%02lld:%02lld.%03lld)", sign,
                      magnitude / 1000, magnitude % 1000, sign, magnitude / 3'600'000,
                      magnitude / 60'000 % 60, magnitude / 1000 % 60, magnitude % 1000);
    }
    return text;
}

std::string reportText(const CheckReport& r, std::string_view fileName) {
    std::string out = "ombrelis-log check: " + std::string(fileName) + "\n";
    out += line("size", sizeText(r));
    if (r.records == 0) {
        out += line("run", "no record: nothing to measure");
    } else {
        out += line("run",
                    durationText(r.durationMs) + ", from " + r.firstHeure + " to " + r.lastHeure);
        if (r.records == 1) {
            out += line("interval", "none: a single record");
        } else {
            char mean[64];
            std::snprintf(mean, sizeof mean, "%.1f", r.meanIntervalMs);
            out += line("interval", "mean " + std::string(mean) + " ms, largest " +
                                        std::to_string(r.largestIntervalMs) + " ms (records " +
                                        std::to_string(r.largestIntervalRecord - 1) + " to " +
                                        std::to_string(r.largestIntervalRecord) + ")");
        }
        out += line("values", "smallest " + valueText(r.smallestValeur, r.smallestValeurRecord) +
                                  ", largest " + valueText(r.largestValeur, r.largestValeurRecord));
    }
    if (r.sound()) {
        out += line("verdict", r.records == 0 ? "SOUND, but empty" : "SOUND");
        return out;
    }
    std::string why;
    for (const std::string& reason : r.firstFault->why) {
        why += (why.empty() ? "" : "; ") + reason;
    }
    out +=
        line("verdict", "DAMAGED from record " + std::to_string(r.firstFault->record) + ": " + why);
    out += line("faults", faultsText(r));
    return out;
}

} // namespace ombrelis::logtool

#include <ombrelis/logtool/CsvWriter.h>

namespace ombrelis::logtool {

namespace {

std::string csvField(const std::string& text) {
    if (text.find_first_of(",\"") == std::string::npos) {
        return text;
    }
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c;
        if (c == '"') {
            quoted += '"';
        }
    }
    return quoted + "\"";
}

} // namespace

std::string csvLine(std::size_t number, const engine::MesureRec& record) {
    return std::to_string(number) + "," + std::to_string(record.Valeur) + "," +
           csvField(printableHeure(record.Heure)) + "," + std::to_string(record.TempsMs) + "," +
           voltsText(record.Valeur);
}

void writeCsv(const LogView& log, std::ostream& out) {
    out << kCsvHeader << '\n';
    for (std::size_t n = 1; n <= log.recordCount(); ++n) {
        out << csvLine(n, log.record(n)) << '\n';
    }
}

} // namespace ombrelis::logtool

#include <charconv>
#include <ombrelis/logtool/CsvWriter.h>

namespace ombrelis::logtool {

namespace {

/// Room for the longest line: 20 digits, 6 for Valeur, putHeure's room, 11 for TempsMs, 7 for
/// the volts, 4 commas and the line feed.
constexpr std::size_t kLongestLine = 20 + 6 + kHeureRoom + 11 + 7 + 4 + 1;

char* putLine(char* out, std::uint64_t number, const engine::MesureRec& record) {
    out = std::to_chars(out, out + 20, number).ptr;
    *out++ = ',';
    out = std::to_chars(out, out + 6, record.Valeur).ptr;
    *out++ = ',';
    out = putHeure(out, record.Heure, true);
    *out++ = ',';
    out = std::to_chars(out, out + 11, record.TempsMs).ptr;
    *out++ = ',';
    return putVolts(out, record.Valeur);
}

} // namespace

std::string csvLine(std::uint64_t number, const engine::MesureRec& record) {
    char line[kLongestLine];
    return std::string(line, putLine(line, number, record));
}

std::string_view CsvFormatter::lines(const LogView& block, std::uint64_t firstNumber) {
    const std::size_t needed = block.recordCount() * kLongestLine;
    if (needed > capacity_) {
        buffer_ = std::make_unique_for_overwrite<char[]>(needed);
        capacity_ = needed;
    }
    char* end = buffer_.get();
    for (std::size_t i = 1; i <= block.recordCount(); ++i) {
        end = putLine(end, firstNumber + i - 1, block.record(i));
        *end++ = '\n';
    }
    return {buffer_.get(), static_cast<std::size_t>(end - buffer_.get())};
}

void writeCsv(const LogView& log, std::ostream& out) {
    CsvFormatter formatter;
    out << kCsvHeader << '\n' << formatter.lines(log, 1);
}

} // namespace ombrelis::logtool

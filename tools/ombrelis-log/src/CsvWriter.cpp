#include <charconv>
#include <ombrelis/logtool/CsvWriter.h>

namespace ombrelis::logtool {

namespace {

/// Room for the longest line: 20 digits, 6 for Valeur, putHeure's room, 11 for TempsMs, 7 for
/// the volts, 4 separators and the line end.
constexpr std::size_t kLongestLine = 20 + 6 + kHeureRoom + 11 + 7 + 4 + 2;

/// The style is a template argument: the per-record path stays as short as plain csv's.
template <CsvStyle Style>
char* putLine(char* out, std::uint64_t number, const engine::MesureRec& r) {
    constexpr char separator = Style == CsvStyle::Tableur ? ';' : ',';
    out = std::to_chars(out, out + 20, number).ptr;
    *out++ = separator;
    out = std::to_chars(out, out + 6, r.Valeur).ptr;
    *out++ = separator;
    out = putHeure(out, r.Heure, true, separator);
    *out++ = separator;
    out = std::to_chars(out, out + 11, r.TempsMs).ptr;
    *out++ = separator;
    return putVolts(out, r.Valeur, Style == CsvStyle::Tableur ? ',' : '.');
}

template <CsvStyle Style> char* putLines(char* out, const LogView& block, std::uint64_t first) {
    for (std::size_t i = 1; i <= block.recordCount(); ++i) {
        out = putLine<Style>(out, first + i - 1, block.record(i));
        if constexpr (Style == CsvStyle::Tableur) {
            *out++ = '\r';
        }
        *out++ = '\n';
    }
    return out;
}

} // namespace

std::string_view csvHeader(CsvStyle style) {
    return style == CsvStyle::Tableur ? "\xEF\xBB\xBFrecord;valeur;heure;temps_ms;tension_v\r\n"
                                      : "record,valeur,heure,temps_ms,tension_v\n";
}

std::string csvLine(std::uint64_t number, const engine::MesureRec& record, CsvStyle style) {
    char line[kLongestLine];
    char* end = style == CsvStyle::Tableur ? putLine<CsvStyle::Tableur>(line, number, record)
                                           : putLine<CsvStyle::Plain>(line, number, record);
    return std::string(line, end);
}

std::string_view CsvFormatter::lines(const LogView& block, std::uint64_t firstNumber) {
    const std::size_t needed = block.recordCount() * kLongestLine;
    if (needed > capacity_) {
        buffer_ = std::make_unique_for_overwrite<char[]>(needed);
        capacity_ = needed;
    }
    char* const start = buffer_.get();
    char* const end = style_ == CsvStyle::Tableur
                          ? putLines<CsvStyle::Tableur>(start, block, firstNumber)
                          : putLines<CsvStyle::Plain>(start, block, firstNumber);
    return {start, static_cast<std::size_t>(end - start)};
}

void writeCsv(const LogView& log, std::ostream& out) {
    CsvFormatter formatter;
    out << csvHeader(CsvStyle::Plain) << formatter.lines(log, 1);
}

} // namespace ombrelis::logtool

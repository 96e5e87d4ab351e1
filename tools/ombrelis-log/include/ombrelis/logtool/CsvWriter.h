#pragma once

#include <cstdint>
#include <memory>
#include <ombrelis/logtool/LogView.h>
#include <ostream>
#include <string>
#include <string_view>

namespace ombrelis::logtool {

inline constexpr const char* kCsvHeader = "record,valeur,heure,temps_ms,tension_v";

/// How the lines are written.
enum class CsvStyle {
    Plain,   ///< ',' between fields, a decimal point, LF: what other programs read
    Tableur, ///< ';', a decimal comma, CRLF and a UTF-8 byte-order mark: a spreadsheet with
             ///< French settings (Excel, LibreOffice Calc) opens it in columns, as numbers
};

/// What comes before the first record: the byte-order mark for a spreadsheet, then the header
/// line with its line end.
std::string_view csvHeader(CsvStyle style);

/// One CSV line (without line end) for record `number`. Heure is shown as printableHeure
/// and quoted when it holds the separator or a double quote, so every line has five fields.
std::string csvLine(std::uint64_t number, const engine::MesureRec& record,
                    CsvStyle style = CsvStyle::Plain);

/// Turns blocks of records into CSV lines, in one buffer used again for every block.
class CsvFormatter {
public:
    explicit CsvFormatter(CsvStyle style = CsvStyle::Plain) : style_(style) {}

    /// One line per record of `block`, numbered from `firstNumber`, each with its line end.
    /// The text lasts until the next call.
    std::string_view lines(const LogView& block, std::uint64_t firstNumber);

private:
    CsvStyle style_;
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
};

/// The header and one line per whole record, each ended by a line feed. A partial trailing
/// record is not written: the caller tells the user about it.
void writeCsv(const LogView& log, std::ostream& out);

} // namespace ombrelis::logtool

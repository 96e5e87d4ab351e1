#pragma once

#include <cstdint>
#include <memory>
#include <ombrelis/logtool/LogView.h>
#include <ostream>
#include <string>
#include <string_view>

namespace ombrelis::logtool {

inline constexpr const char* kCsvHeader = "record,valeur,heure,temps_ms,tension_v";

/// One CSV line (without line feed) for record `number`. Heure is shown as printableHeure
/// and quoted when it holds a comma or a double quote, so every line has five fields.
std::string csvLine(std::uint64_t number, const engine::MesureRec& record);

/// Turns blocks of records into CSV lines, in one buffer used again for every block.
class CsvFormatter {
public:
    /// One line per record of `block`, numbered from `firstNumber`, each ended by a line feed.
    /// The text lasts until the next call.
    std::string_view lines(const LogView& block, std::uint64_t firstNumber);

private:
    std::unique_ptr<char[]> buffer_;
    std::size_t capacity_ = 0;
};

/// The header and one line per whole record, each ended by a line feed. A partial trailing
/// record is not written: the caller tells the user about it.
void writeCsv(const LogView& log, std::ostream& out);

} // namespace ombrelis::logtool

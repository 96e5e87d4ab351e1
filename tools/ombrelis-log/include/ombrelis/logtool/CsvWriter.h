#pragma once

#include <cstddef>
#include <ombrelis/logtool/LogView.h>
#include <ostream>
#include <string>

namespace ombrelis::logtool {

inline constexpr const char* kCsvHeader = "record,valeur,heure,temps_ms,tension_v";

/// One CSV line (without line feed) for record `number`. Heure is shown as printableHeure
/// and quoted when it holds a comma or a double quote, so every line has five fields.
std::string csvLine(std::size_t number, const engine::MesureRec& record);

/// The header and one line per whole record, each ended by a line feed. A partial trailing
/// record is not written: the caller tells the user about it.
void writeCsv(const LogView& log, std::ostream& out);

} // namespace ombrelis::logtool

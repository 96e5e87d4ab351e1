#pragma once

#include <cstddef>
#include <cstdint>
#include <ombrelis/logtool/LogReader.h>
#include <optional>
#include <string>

namespace ombrelis::logtool {

/// Records on one sheet: a sheet has 1 048 576 rows, the first holds the header. (Tests ask
/// for fewer, to see the sheets follow each other without a million rows.)
inline constexpr std::uint64_t kRecordsPerSheet = 1048575;
/// Time bins of the chart: at most four points each (first, lowest, highest, last), so that a
/// spreadsheet draws the whole run at once, however long, without stalling on it.
inline constexpr std::size_t kChartBins = 4096;
inline constexpr std::size_t kChartPoints = 4 * kChartBins;

/// Writes every record that `reader` gives into an Excel workbook at `outputPath`: a sheet
/// "Graphique" with the title, a note on what the chart shows and a native chart of the volts
/// against the seconds with reference lines at 1, 2 and 3 V, then sheets "Mesures",
/// "Mesures 2"… of numbers under a frozen header row. The rows stream to temporary files
/// beside the output, so memory stays bounded whatever the log's size; the workbook takes its
/// name only once it is whole. Returns the reason, in French, when it cannot be written.
/// Throws InputError when the input cannot be read; no file is left behind then.
std::optional<std::string> writeWorkbook(LogReader& reader, const std::string& inputPath,
                                         const std::string& outputPath,
                                         std::uint64_t recordsPerSheet = kRecordsPerSheet);

} // namespace ombrelis::logtool

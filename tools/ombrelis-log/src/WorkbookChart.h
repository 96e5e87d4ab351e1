#pragma once

#include <cstdint>
#include <ombrelis/logtool/PlotTrace.h>
#include <string>
#include <xlsxwriter.h>

namespace ombrelis::logtool {

/// Fills the chart sheet once the whole run is known: the title of `plot`, notes on what the
/// chart shows and where the records are, the chart's points and reference lines right of
/// it, and the chart; laid out to print on one landscape page.
lxw_error writeChartSheet(lxw_workbook* book, lxw_worksheet* sheet, const PlotTrace& trace,
                          const std::string& inputPath, int sheets, std::uint64_t recordsPerSheet);

} // namespace ombrelis::logtool

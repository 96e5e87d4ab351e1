#include "WorkbookChart.h"

#include <array>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/logtool/Workbook.h>
#include <vector>

namespace ombrelis::logtool {

namespace {

/// Text that the workbook's XML can hold: valid UTF-8 without control characters. A file name
/// in another encoding has bytes that are not; each becomes U+FFFD.
std::string xmlText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        std::size_t length = c < 0x80                ? 1
                             : c >= 0xC2 && c < 0xE0 ? 2
                             : c >= 0xE0 && c < 0xF0 ? 3
                             : c >= 0xF0 && c < 0xF5 ? 4
                                                     : 0;
        for (std::size_t k = 1; k < length; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                length = 0;
            }
        }
        if (length == 0 || (length == 1 && (c < 0x20 || c == 0x7F))) {
            out += "\xEF\xBF\xBD";
            ++i;
        } else {
            out.append(text, i, length);
            i += length;
        }
    }
    return out;
}

/// What the chart sheet says of the chart and the sheets, so that nobody takes the chart's
/// points for all the records.
std::array<std::string, 3> notes(std::uint64_t records, int sheets, std::uint64_t recordsPerSheet) {
    return {"Le graphique montre toute la série, réduite à au plus " +
                std::to_string(kChartPoints) + " points pour qu'un tableur le dessine sans peine :",
            "pour chaque tranche de temps, la première, la plus basse, la plus haute et la "
            "dernière mesure.",
            "Toutes les mesures (" + std::to_string(records) + ") sont dans " +
                (sheets > 1 ? "les feuilles « Mesures » à « Mesures " + std::to_string(sheets) +
                                  " », " + std::to_string(recordsPerSheet) + " par feuille."
                            : "la feuille « Mesures ».")};
}

// Columns of the chart sheet, right of the chart: its points and the reference lines' ends.
constexpr lxw_col_t kPointsColumn = 16;
constexpr lxw_col_t kGridColumn = 19;
constexpr lxw_row_t kHeaderRow = 4;
constexpr lxw_row_t kFirstDataRow = 5;
// What is printed, or converted to PDF: the title, the notes and the chart, on one page.
constexpr lxw_row_t kLastPrintedRow = 28;
constexpr lxw_col_t kLastPrintedColumn = 14;

} // namespace

lxw_error writeChartSheet(lxw_workbook* book, lxw_worksheet* sheet, const PlotTrace& trace,
                          const std::string& inputPath, int sheets, std::uint64_t recordsPerSheet) {
    const std::string title = xmlText(plotTitle(inputPath, trace.records(), trace.durationMs()));
    lxw_format* bold = workbook_add_format(book);
    format_set_bold(bold);
    lxw_format* thousandths = workbook_add_format(book);
    format_set_num_format(thousandths, "0.000");
    worksheet_set_landscape(sheet);
    worksheet_fit_to_pages(sheet, 1, 1);
    worksheet_print_area(sheet, 0, 0, kLastPrintedRow, kLastPrintedColumn);
    lxw_error error = worksheet_write_string(sheet, 0, 0, title.c_str(), bold);
    const auto lines = notes(trace.records(), sheets, recordsPerSheet);
    for (lxw_row_t row = 1; row <= lines.size() && error == LXW_NO_ERROR; ++row) {
        error = worksheet_write_string(sheet, row, 0, lines[row - 1].c_str(), nullptr);
    }
    const std::vector<PlotTrace::Sample> points = trace.kept();
    if (error != LXW_NO_ERROR || points.empty()) {
        return error;
    }
    const char* const names[] = {"temps_s", "tension_v", "", "repère_s", "1 V", "2 V", "3 V"};
    for (lxw_col_t col = 0; col < 7 && error == LXW_NO_ERROR; ++col) {
        if (*names[col] != '\0') {
            error =
                worksheet_write_string(sheet, kHeaderRow, kPointsColumn + col, names[col], bold);
        }
    }
    const auto [firstSeconds, lastSeconds] = trace.timeSpanSeconds();
    for (std::size_t i = 0; i < points.size() && error == LXW_NO_ERROR; ++i) {
        const auto row = static_cast<lxw_row_t>(kFirstDataRow + i);
        error = worksheet_write_number(sheet, row, kPointsColumn, points[i].tempsMs / 1000.0,
                                       thousandths);
        error = error ? error
                      : worksheet_write_number(sheet, row, kPointsColumn + 1,
                                               points[i].valeur / 1000.0, thousandths);
        for (int volts = 0; i < 2 && volts <= 3 && error == LXW_NO_ERROR; ++volts) {
            const double value = volts == 0 ? (i == 0 ? firstSeconds : lastSeconds) : volts;
            error = worksheet_write_number(sheet, row, static_cast<lxw_col_t>(kGridColumn + volts),
                                           value, thousandths);
        }
    }
    if (error != LXW_NO_ERROR) {
        return error;
    }

    lxw_chart* chart = workbook_add_chart(book, LXW_CHART_SCATTER_STRAIGHT);
    const auto last = static_cast<lxw_row_t>(kFirstDataRow + points.size() - 1);
    lxw_chart_series* trace_ = chart_add_series(chart, nullptr, nullptr);
    chart_series_set_categories(trace_, "Graphique", kFirstDataRow, kPointsColumn, last,
                                kPointsColumn);
    chart_series_set_values(trace_, "Graphique", kFirstDataRow, kPointsColumn + 1, last,
                            kPointsColumn + 1);
    chart_series_set_name(trace_, "tension (V)");
    lxw_chart_line green{};
    green.color = 0x00A000;
    green.width = 1;
    chart_series_set_line(trace_, &green);
    for (lxw_col_t volts = 1; volts <= 3; ++volts) {
        lxw_chart_series* grid = chart_add_series(chart, nullptr, nullptr);
        chart_series_set_categories(grid, "Graphique", kFirstDataRow, kGridColumn,
                                    kFirstDataRow + 1, kGridColumn);
        chart_series_set_values(grid, "Graphique", kFirstDataRow, kGridColumn + volts,
                                kFirstDataRow + 1, kGridColumn + volts);
        lxw_chart_line red{};
        red.color = LXW_COLOR_RED;
        red.width = 1;
        red.dash_type = LXW_CHART_LINE_DASH_ROUND_DOT;
        chart_series_set_line(grid, &red);
    }
    chart_title_set_name(chart, title.c_str());
    chart_axis_set_name(chart->x_axis, "temps (s)");
    chart_axis_set_name(chart->y_axis, "tension (V)");
    chart_axis_set_min(chart->y_axis, 0);
    chart_axis_set_max(chart->y_axis, kFullScaleVolts);
    chart_axis_set_major_unit(chart->y_axis, 1);
    chart_axis_set_min(chart->x_axis, firstSeconds);
    chart_axis_set_max(chart->x_axis, lastSeconds > firstSeconds ? lastSeconds : firstSeconds + 1);
    chart_legend_set_position(chart, LXW_CHART_LEGEND_NONE);
    lxw_chart_options placement{};
    placement.x_scale = 2;
    placement.y_scale = 1.6;
    std::string description = "Graphique : " + title;
    placement.description = description.data();
    return worksheet_insert_chart_opt(sheet, kFirstDataRow, 0, chart, &placement);
}

} // namespace ombrelis::logtool

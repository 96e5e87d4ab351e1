#include "PendingWorkbook.h"
#include "WorkbookChart.h"

#include <cerrno>
#include <ombrelis/logtool/PlotTrace.h>
#include <ombrelis/logtool/Workbook.h>
#include <string>

namespace ombrelis::logtool {

namespace {

constexpr const char* kHeader[] = {"record", "valeur", "heure", "temps_ms", "temps_s", "tension_v"};
constexpr double kWidths[] = {12, 8, 10, 11, 10, 10};

/// The data sheets, filled row after row: a new sheet when one is full.
class MeasureSheets {
public:
    MeasureSheets(lxw_workbook* book, std::uint64_t recordsPerSheet)
        : book_(book), recordsPerSheet_(recordsPerSheet) {
        bold_ = workbook_add_format(book);
        format_set_bold(bold_);
        thousandths_ = workbook_add_format(book);
        format_set_num_format(thousandths_, "0.000");
    }

    lxw_error add(std::uint64_t number, const engine::MesureRec& r) {
        if (sheet_ == nullptr || row_ > recordsPerSheet_) {
            if (const lxw_error error = startSheet(); error != LXW_NO_ERROR) {
                return error;
            }
        }
        const std::string heure = printableHeure(r.Heure);
        lxw_error error =
            worksheet_write_number(sheet_, row_, 0, static_cast<double>(number), nullptr);
        error = error ? error : worksheet_write_number(sheet_, row_, 1, r.Valeur, nullptr);
        error = error ? error : worksheet_write_string(sheet_, row_, 2, heure.c_str(), nullptr);
        error = error ? error : worksheet_write_number(sheet_, row_, 3, r.TempsMs, nullptr);
        error = error ? error
                      : worksheet_write_number(sheet_, row_, 4, r.TempsMs / 1000.0, thousandths_);
        error = error ? error
                      : worksheet_write_number(sheet_, row_, 5, r.Valeur / 1000.0, thousandths_);
        ++row_;
        return error;
    }

    /// Makes sure one sheet exists, so that an empty log still shows its header.
    lxw_error finish() { return sheet_ == nullptr ? startSheet() : LXW_NO_ERROR; }
    int sheets() const noexcept { return sheets_; }

private:
    lxw_error startSheet() {
        ++sheets_;
        const std::string name = sheets_ == 1 ? "Mesures" : "Mesures " + std::to_string(sheets_);
        sheet_ = workbook_add_worksheet(book_, name.c_str());
        if (sheet_ == nullptr) {
            return LXW_ERROR_CREATING_TMPFILE;
        }
        worksheet_freeze_panes(sheet_, 1, 0);
        for (lxw_col_t col = 0; col < 6; ++col) {
            worksheet_set_column(sheet_, col, col, kWidths[col], nullptr);
            if (const lxw_error error = worksheet_write_string(sheet_, 0, col, kHeader[col], bold_);
                error != LXW_NO_ERROR) {
                return error;
            }
        }
        row_ = 1;
        return LXW_NO_ERROR;
    }

    lxw_workbook* book_;
    std::uint64_t recordsPerSheet_;
    lxw_format* bold_;
    lxw_format* thousandths_;
    lxw_worksheet* sheet_ = nullptr;
    lxw_row_t row_ = 0;
    int sheets_ = 0;
};

} // namespace

std::optional<std::string> writeWorkbook(LogReader& reader, const std::string& inputPath,
                                         const std::string& outputPath,
                                         std::uint64_t recordsPerSheet) {
    PendingWorkbook pending(outputPath);
    if (pending.refusal()) {
        return pending.refusal();
    }
    // Added first, so that the workbook opens on it; written last, once the whole run is known.
    lxw_worksheet* chartSheet = workbook_add_worksheet(pending.book(), "Graphique");
    MeasureSheets sheets(pending.book(), recordsPerSheet);
    PlotTrace trace(kChartBins);
    lxw_error error = chartSheet != nullptr ? LXW_NO_ERROR : LXW_ERROR_CREATING_TMPFILE;
    for (LogView block = reader.next(); !block.empty() && error == LXW_NO_ERROR;
         block = reader.next()) {
        trace.add(block);
        for (std::size_t i = 1; i <= block.recordCount() && error == LXW_NO_ERROR; ++i) {
            error = sheets.add(reader.firstNumber() + i - 1, block.record(i));
        }
    }
    error = error ? error : sheets.finish();
    if (error == LXW_NO_ERROR) {
        error = writeChartSheet(pending.book(), chartSheet, trace, inputPath, sheets.sheets(),
                                recordsPerSheet);
    }
    if (error != LXW_NO_ERROR) {
        return workbookFailure(error, errno);
    }
    return pending.commit();
}

} // namespace ombrelis::logtool

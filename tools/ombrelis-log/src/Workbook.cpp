#include <array>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <ombrelis/logtool/PlotLayout.h>
#include <ombrelis/logtool/PlotTrace.h>
#include <ombrelis/logtool/Workbook.h>
#include <ombrelis/platform/SystemError.h>
#include <system_error>
#include <unistd.h>
#include <vector>
#include <xlsxwriter.h>

namespace ombrelis::logtool {

namespace {

namespace fs = std::filesystem;

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

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

/// The library's failure in French: the system's reason when there is one, since the files it
/// could not create or write lie in the output's folder.
std::string failureText(lxw_error error, int errorNumber) {
    if (error == LXW_ERROR_MEMORY_MALLOC_FAILED) {
        return "la mémoire manque";
    }
    const bool files = error == LXW_ERROR_CREATING_XLSX_FILE ||
                       error == LXW_ERROR_CREATING_TMPFILE || error == LXW_ERROR_READING_TMPFILE ||
                       error == LXW_ERROR_ZIP_FILE_OPERATION || error == LXW_ERROR_ZIP_CLOSE;
    if (files && errorNumber != 0) {
        return platform::errnoReason(errorNumber);
    }
    return std::string("la bibliothèque libxlsxwriter a échoué (") + lxw_strerror(error) + ")";
}

/// The workbook under a temporary name beside the output: freed and removed unless it was
/// closed whole, so an input that fails to read or a full disk leaves no half workbook.
class PendingBook {
public:
    explicit PendingBook(const fs::path& output)
        : folder_(output.parent_path().empty() ? fs::path(".") : output.parent_path()),
          path_(folder_ / ("." + output.filename().string() + "." + std::to_string(::getpid()) +
                           ".partiel")) {
        // The name is taken at once: a folder that is missing or refuses writing is told before
        // the log is read, and before the library, which would complain in English, starts.
        const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd < 0) {
            refusal_ = platform::errnoReason(errno);
            return;
        }
        ::close(fd);
        created_ = true;
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE; // the parts of a large log pass 4 GiB
        folderText_ = folder_.string();
        options.tmpdir = folderText_.data();
        book_ = workbook_new_opt(path_.string().c_str(), &options);
    }
    ~PendingBook() {
        if (book_ != nullptr) {
            lxw_workbook_free(book_);
        }
        std::error_code ignored;
        if (created_) {
            fs::remove(path_, ignored);
        }
    }
    PendingBook(const PendingBook&) = delete;
    PendingBook& operator=(const PendingBook&) = delete;

    lxw_workbook* book() const noexcept { return book_; }
    /// Why the output's folder takes no file, when it does not.
    const std::optional<std::string>& refusal() const noexcept { return refusal_; }

    /// Writes the workbook out and gives it the output's name.
    std::optional<std::string> commit(const fs::path& output) {
        errno = 0;
        const lxw_error error = workbook_close(book_);
        book_ = nullptr;
        if (error != LXW_NO_ERROR) {
            return failureText(error, errno);
        }
        std::error_code renamed;
        fs::rename(path_, output, renamed);
        if (renamed) {
            return platform::errnoReason(renamed.value());
        }
        return std::nullopt;
    }

private:
    fs::path folder_;
    std::string folderText_;
    fs::path path_;
    lxw_workbook* book_ = nullptr;
    bool created_ = false;
    std::optional<std::string> refusal_;
};

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

/// The chart sheet: title, notes, the chart's points and reference lines, and the chart.
lxw_error writeChartSheet(lxw_workbook* book, lxw_worksheet* sheet, const PlotTrace& trace,
                          const std::string& title, int sheets, std::uint64_t recordsPerSheet) {
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

} // namespace

std::optional<std::string> writeWorkbook(LogReader& reader, const std::string& inputPath,
                                         const std::string& outputPath,
                                         std::uint64_t recordsPerSheet) {
    // The workbook is renamed over the file that the name leads to, never over a link on the
    // way: a link keeps leading to it, and a name such as /dev/stdout, a link to a pipe or a
    // terminal, is refused instead of being replaced by a file.
    std::error_code resolveError;
    fs::path output = fs::weakly_canonical(pathOf(outputPath), resolveError);
    if (resolveError) { // a link to a pipe leads to a name that no folder holds
        return fs::is_symlink(pathOf(outputPath), resolveError)
                   ? "un classeur ne s'écrit que dans un fichier ordinaire"
                   : platform::errnoReason(resolveError.value());
    }
    std::error_code statError;
    if (const fs::file_status status = fs::status(output, statError);
        fs::exists(status) && !fs::is_regular_file(status)) {
        return fs::is_directory(status) ? "c'est un dossier"
                                        : "un classeur ne s'écrit que dans un fichier ordinaire";
    }
    PendingBook pending(output);
    if (pending.refusal()) {
        return pending.refusal();
    }
    if (pending.book() == nullptr) {
        return failureText(LXW_ERROR_CREATING_TMPFILE, errno);
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
        const std::string title =
            xmlText(plotTitle(inputPath, trace.records(), trace.durationMs()));
        error = writeChartSheet(pending.book(), chartSheet, trace, title, sheets.sheets(),
                                recordsPerSheet);
    }
    if (error != LXW_NO_ERROR) {
        return failureText(error, errno);
    }
    return pending.commit(output);
}

} // namespace ombrelis::logtool

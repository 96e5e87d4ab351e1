#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <xlsxwriter.h>

namespace ombrelis::logtool {

/// The library's failure in French: the system's reason when there is one, since the files it
/// could not create or write lie in the output's folder.
std::string workbookFailure(lxw_error error, int errorNumber);

/// The workbook for the output named `outputPath` (UTF-8), written under a temporary name
/// beside the file the name leads to: freed and removed unless it was closed whole, so an
/// input that fails to read or a full disk leaves no half workbook. The rows stream to
/// temporary files in the same folder (the library's constant-memory mode).
class PendingWorkbook {
public:
    explicit PendingWorkbook(const std::string& outputPath);
    ~PendingWorkbook();
    PendingWorkbook(const PendingWorkbook&) = delete;
    PendingWorkbook& operator=(const PendingWorkbook&) = delete;

    /// Why the output takes no workbook, when it does not; book() is null then.
    const std::optional<std::string>& refusal() const noexcept { return refusal_; }
    lxw_workbook* book() const noexcept { return book_; }

    /// Writes the workbook out and gives it the output's name.
    std::optional<std::string> commit();

private:
    std::filesystem::path output_;
    std::filesystem::path path_;
    std::string folderText_;
    lxw_workbook* book_ = nullptr;
    bool created_ = false;
    std::optional<std::string> refusal_;
};

} // namespace ombrelis::logtool

#include "PendingWorkbook.h"

#include <cerrno>
#include <fcntl.h>
#include <ombrelis/platform/SystemError.h>
#include <system_error>
#include <unistd.h>

namespace ombrelis::logtool {

namespace fs = std::filesystem;

namespace {

fs::path pathOf(const std::string& utf8) {
    return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

} // namespace

std::string workbookFailure(lxw_error error, int errorNumber) {
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

PendingWorkbook::PendingWorkbook(const std::string& outputPath) {
    // The workbook is renamed over the file that the name leads to, never over a link on the
    // way: a link keeps leading to it, and a name such as /dev/stdout, a link to a pipe or a
    // terminal, is refused instead of being replaced by a file.
    std::error_code error;
    output_ = fs::weakly_canonical(pathOf(outputPath), error);
    if (error) { // a link to a pipe leads to a name that no folder holds
        refusal_ = fs::is_symlink(pathOf(outputPath), error)
                       ? "un classeur ne s'écrit que dans un fichier ordinaire"
                       : platform::errnoReason(error.value());
        return;
    }
    if (const fs::file_status status = fs::status(output_, error);
        fs::exists(status) && !fs::is_regular_file(status)) {
        refusal_ = fs::is_directory(status)
                       ? "c'est un dossier"
                       : "un classeur ne s'écrit que dans un fichier ordinaire";
        return;
    }
    const fs::path folder = output_.parent_path().empty() ? fs::path(".") : output_.parent_path();
    path_ = folder /
            ("." + output_.filename().string() + "." + std::to_string(::getpid()) + ".partiel");
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
    folderText_ = folder.string();
    options.tmpdir = folderText_.data();
    book_ = workbook_new_opt(path_.string().c_str(), &options);
    if (book_ == nullptr) {
        refusal_ = workbookFailure(LXW_ERROR_CREATING_TMPFILE, errno);
    }
}

PendingWorkbook::~PendingWorkbook() {
    if (book_ != nullptr) {
        lxw_workbook_free(book_);
    }
    std::error_code ignored;
    if (created_) {
        fs::remove(path_, ignored);
    }
}

std::optional<std::string> PendingWorkbook::commit() {
    errno = 0;
    const lxw_error error = workbook_close(book_);
    book_ = nullptr;
    if (error != LXW_NO_ERROR) {
        return workbookFailure(error, errno);
    }
    std::error_code renamed;
    fs::rename(path_, output_, renamed);
    if (renamed) {
        return platform::errnoReason(renamed.value());
    }
    return std::nullopt;
}

} // namespace ombrelis::logtool

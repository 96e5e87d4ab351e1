// The tool's only system calls on Windows: opening, reading and watching its input through the
// wide calls on the exact UTF-8 name, with the identity that the file system gives (the C
// library's inode is always 0 there). Every open lets a run go on writing, and deleting, the
// log: the tool never stands in the way of the program.
#include <algorithm>
#include <array>
#include <cerrno>
#include <ombrelis/logtool/FirstRecord.h>
#include <ombrelis/logtool/Input.h>
#include <ombrelis/platform/WindowsText.h>
#include <optional>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace ombrelis::logtool {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw cannotRead(path, reason);
}

[[noreturn]] void fail(const std::string& path, DWORD error) {
    fail(path, platform::frenchReason(static_cast<int>(error)));
}

/// Closes the handle on every way out.
class Handle {
public:
    explicit Handle(HANDLE handle = INVALID_HANDLE_VALUE) noexcept : handle_(handle) {}
    ~Handle() { reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const noexcept { return handle_; }
    bool valid() const noexcept { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    HANDLE release() noexcept {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    void reset(HANDLE handle = INVALID_HANDLE_VALUE) noexcept {
        if (valid()) {
            ::CloseHandle(handle_);
        }
        handle_ = handle;
    }

private:
    HANDLE handle_;
};

struct Identity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    friend bool operator==(const Identity&, const Identity&) = default;
};

HANDLE openByName(const std::string& path, DWORD access) {
    std::wstring wide;
    try {
        wide = platform::toUtf16(path, path);
    } catch (const platform::SystemError& e) {
        fail(path, static_cast<DWORD>(e.errorNumber()));
    }
    return ::CreateFileW(wide.c_str(), access,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

/// The identity and size of a regular file; nothing for a folder, device or pipe.
std::optional<std::pair<Identity, std::uint64_t>> regularFile(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return std::nullopt;
    }
    const Identity identity{info.dwVolumeSerialNumber,
                            (std::uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
    return std::pair{identity, (std::uint64_t{info.nFileSizeHigh} << 32) | info.nFileSizeLow};
}

/// What the name leads to now, when it is a regular file.
std::optional<std::pair<Identity, std::uint64_t>> regularFileNamed(const std::string& path) {
    const Handle handle(openByName(path, FILE_READ_ATTRIBUTES));
    return handle.valid() ? regularFile(handle.get()) : std::nullopt;
}

/// Opens `path` ("-": a copy of standard input) and refuses what is no stream of bytes.
HANDLE openStream(const std::string& path) {
    Handle handle;
    if (path == kStandardInput) {
        HANDLE copy = nullptr;
        const HANDLE process = ::GetCurrentProcess();
        if (::DuplicateHandle(process, ::GetStdHandle(STD_INPUT_HANDLE), process, &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS)) {
            handle.reset(copy);
        }
    } else {
        handle.reset(openByName(path, GENERIC_READ));
    }
    if (!handle.valid()) {
        fail(path, ::GetLastError());
    }
    DWORD consoleMode = 0;
    switch (::GetFileType(handle.get())) {
    case FILE_TYPE_PIPE:
        break;
    case FILE_TYPE_DISK:
        if (!regularFile(handle.get())) {
            fail(path, platform::errnoReason(EISDIR));
        }
        break;
    case FILE_TYPE_CHAR:
        if (::GetConsoleMode(handle.get(), &consoleMode)) {
            fail(path,
                 "c'est un terminal : nommez un fichier de mesures ou envoyez-le par un tube");
        }
        [[fallthrough]];
    default:
        fail(path, "ce n'est ni un fichier ordinaire, ni un tube");
    }
    return handle.release();
}

std::size_t readSome(HANDLE handle, std::span<std::uint8_t> buffer, const std::string& path) {
    DWORD n = 0;
    const DWORD size = static_cast<DWORD>(std::min<std::size_t>(buffer.size(), 1u << 30));
    if (!::ReadFile(handle, buffer.data(), size, &n, nullptr)) {
        const DWORD error = ::GetLastError();
        if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) {
            return 0; // the writing end of the pipe is closed: its end of file
        }
        fail(path, error);
    }
    return n;
}

class Win32InputFile final : public InputFile {
public:
    explicit Win32InputFile(const std::string& path) : path_(path), handle_(openStream(path)) {
        if (const auto file = regularFile(handle_.get())) {
            identity_ = file->first;
        }
    }

    std::size_t read(std::span<std::uint8_t> buffer) override {
        return readSome(handle_.get(), buffer, path_);
    }

    bool isSameFileAs(const std::string& path) const override {
        const auto other = regularFileNamed(path);
        return identity_ && other && other->first == *identity_;
    }

private:
    std::string path_;
    Handle handle_;
    std::optional<Identity> identity_;
};

// Holds the file only while it reads it: on Windows a file deleted while another program has
// it open keeps its name until that program lets go, so a follower that held it would keep a
// new run from creating its log under the same name.
class Win32FollowedFile final : public FollowedFile {
public:
    explicit Win32FollowedFile(const std::string& path) : path_(path) {
        const Handle handle(openStream(path));
        const auto file = regularFile(handle.get());
        if (!file) {
            fail(path, "c'est un tube, donc déjà un flux : lisez-le sans --follow");
        }
        identity_ = file->first;
    }

    std::size_t read(std::span<std::uint8_t> buffer) override {
        if (!handle_.valid()) {
            handle_.reset(openByName(path_, GENERIC_READ));
            const auto file = handle_.valid() ? regularFile(handle_.get()) : std::nullopt;
            LARGE_INTEGER at{};
            at.QuadPart = static_cast<LONGLONG>(offset_);
            if (!file || file->first != identity_ ||
                !::SetFilePointerEx(handle_.get(), at, nullptr, FILE_BEGIN)) {
                handle_.reset(); // gone or replaced: look() tells which
                return 0;
            }
        }
        const std::size_t n = readSome(handle_.get(), buffer, path_);
        firstRecord_.saw(offset_, buffer.first(n));
        offset_ += n;
        if (n == 0) {
            handle_.reset();
        }
        return n;
    }

    bool isSameFileAs(const std::string& path) const override {
        const auto other = regularFileNamed(path);
        return other && other->first == identity_;
    }

    Change look() override {
        const auto named = regularFileNamed(path_);
        if (!named) {
            return Change::Gone;
        }
        if (named->first != identity_ || rewrittenInPlace()) {
            identity_ = named->first;
            offset_ = 0;
            firstRecord_.forget();
            return Change::Replaced;
        }
        if (named->second < offset_) {
            offset_ = 0;
            firstRecord_.forget();
            return Change::Shortened;
        }
        return Change::None;
    }

    // Windows tells a folder's watchers that a file grew only once its cache writes the file
    // out, which may be long after; the follower looks often instead, for two opens a look.
    void waitForChange(int milliseconds) override {
        ::Sleep(static_cast<DWORD>(std::clamp(milliseconds, 0, 20)));
    }

private:
    bool rewrittenInPlace() {
        const Handle handle(openByName(path_, GENERIC_READ));
        std::array<std::uint8_t, FirstRecord::size()> now{};
        DWORD n = 0;
        return handle.valid() &&
               ::ReadFile(handle.get(), now.data(), static_cast<DWORD>(now.size()), &n, nullptr) &&
               firstRecord_.changed(std::span(now).first(n));
    }

    std::string path_;
    Handle handle_;
    Identity identity_;
    std::uint64_t offset_ = 0;
    FirstRecord firstRecord_;
};

} // namespace

std::unique_ptr<InputFile> InputFile::open(const std::string& path) {
    return std::make_unique<Win32InputFile>(path);
}

std::unique_ptr<FollowedFile> FollowedFile::open(const std::string& path) {
    return std::make_unique<Win32FollowedFile>(path);
}

} // namespace ombrelis::logtool

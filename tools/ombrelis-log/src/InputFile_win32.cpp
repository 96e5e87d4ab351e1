// The Windows build's input: the same rules as on POSIX systems, through the wide calls on
// the exact UTF-8 name, with the identity the file system gives (the CRT's inode is always 0).
#include <cerrno>
#include <cstring>
#include <ombrelis/logtool/InputFile.h>
#include <ombrelis/platform/WindowsText.h>
#include <stdexcept>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace ombrelis::logtool {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw InputError("cannot read " + path + ": " + reason);
}

/// In the words the tool uses on every system for the common cases.
std::string reasonFor(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
        return std::strerror(ENOENT);
    case ERROR_ACCESS_DENIED:
        return std::strerror(EACCES);
    case ERROR_SHARING_VIOLATION:
        return "another program holds it";
    default:
        return "Windows error " + std::to_string(error);
    }
}

/// Closes the handle on every way out.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

/// Open to read what is there without getting in the way of a run that is still writing it.
HANDLE openShared(const std::string& path, DWORD access) {
    std::wstring wide;
    try {
        wide = platform::toUtf16(path, path);
    } catch (const std::exception&) {
        fail(path, "the name is not valid UTF-8");
    }
    return ::CreateFileW(wide.c_str(), access,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

bool identify(HANDLE handle, std::uint64_t& device, std::uint64_t& index) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        return false;
    }
    device = info.dwVolumeSerialNumber;
    index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

} // namespace

InputFile InputFile::read(const std::string& path) {
    const Handle file(openShared(path, GENERIC_READ));
    if (file.get() == INVALID_HANDLE_VALUE) {
        fail(path, reasonFor(::GetLastError()));
    }
    InputFile input;
    const DWORD type = ::GetFileType(file.get());
    if (type == FILE_TYPE_DISK) {
        if (!identify(file.get(), input.device_, input.inode_)) {
            fail(path, "it is a directory");
        }
        LARGE_INTEGER size{};
        if (::GetFileSizeEx(file.get(), &size)) {
            input.bytes_.reserve(static_cast<std::size_t>(size.QuadPart));
        }
    } else if (type != FILE_TYPE_PIPE) {
        fail(path, "it is not a regular file");
    }
    std::uint8_t chunk[1 << 16];
    for (;;) {
        DWORD n = 0;
        if (!::ReadFile(file.get(), chunk, sizeof chunk, &n, nullptr)) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_BROKEN_PIPE) {
                break; // the writing end of a pipe is closed: its end of file
            }
            fail(path, reasonFor(error));
        }
        if (n == 0) {
            break;
        }
        input.bytes_.insert(input.bytes_.end(), chunk, chunk + n);
    }
    return input;
}

bool InputFile::isSameFileAs(const std::string& path) const {
    const Handle other(openShared(path, FILE_READ_ATTRIBUTES));
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    return other.get() != INVALID_HANDLE_VALUE && identify(other.get(), device, index) &&
           device == device_ && index == inode_;
}

} // namespace ombrelis::logtool

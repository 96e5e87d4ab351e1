// The tool's output written whole with the wide Windows calls, on the exact UTF-8 name.
#include <algorithm>
#include <ombrelis/logtool/Output.h>
#include <ombrelis/platform/SystemError.h>
#include <ombrelis/platform/WindowsDeviceName.h>
#include <ombrelis/platform/WindowsText.h>

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

namespace ombrelis::logtool {

namespace {

std::string reason(DWORD error) {
    return platform::frenchReason(static_cast<int>(error));
}

/// Writes every byte; the system's code when it refuses, else 0.
DWORD writeAll(HANDLE file, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD n = 0;
        const auto size = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!::WriteFile(file, bytes.data() + done, size, &n, nullptr)) {
            return ::GetLastError();
        }
        done += n;
    }
    return 0;
}

} // namespace

std::optional<std::string> replaceFileWith(const std::string& path,
                                           std::span<const std::uint8_t> bytes) {
    // "nul.png.part-1" would be the device NUL too: its bytes would vanish.
    if (platform::isWindowsDeviceName(path)) {
        return reason(ERROR_BAD_DEVICE);
    }
    std::wstring target;
    try {
        target = platform::toUtf16(path, path);
    } catch (const platform::SystemError& e) {
        return platform::frenchReason(e.errorNumber());
    }
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        temporary = target + L".part-" + std::to_wstring(::GetCurrentProcessId()) + L"-" +
                    std::to_wstring(attempt);
        file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        return reason(::GetLastError());
    }
    DWORD error = writeAll(file, bytes);
    if (error == 0 && !::FlushFileBuffers(file)) {
        error = ::GetLastError();
    }
    ::CloseHandle(file);
    if (error == 0 && !::MoveFileExW(temporary.c_str(), target.c_str(),
                                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = ::GetLastError();
    }
    if (error != 0) {
        ::DeleteFileW(temporary.c_str());
        return reason(error);
    }
    return std::nullopt;
}

void removeFailedOutput(const std::string& path) {
    const std::wstring wide = platform::toUtf16(path, path);
    const DWORD attributes = ::GetFileAttributesW(wide.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES &&
        (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) == 0 &&
        !platform::isWindowsDeviceName(path)) {
        ::DeleteFileW(wide.c_str());
    }
}

// The narrow name would go through the ANSI code page, which lacks most characters.
void openForWriting(std::ofstream& file, const std::string& path) {
    file.open(platform::toUtf16(path, path).c_str(), std::ios::binary | std::ios::trunc);
}

} // namespace ombrelis::logtool

#include "WindowsApi.h"

#include <ombrelis/platform/SystemError.h>
#include <ombrelis/platform/Win32FileSystem.h>
#include <ombrelis/platform/WindowsDeviceName.h>
#include <ombrelis/platform/WindowsText.h>

namespace ombrelis::platform {

namespace {

int lastError() {
    return static_cast<int>(::GetLastError());
}

/// Closes the handle on every way out.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (valid()) {
            ::CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return handle_; }

private:
    HANDLE handle_;
};

/// The wide form of a name the user gave, after the checks every operation makes: no
/// wildcard (CreateFileW refuses them anyway, but with a less helpful reason, and other
/// calls would expand them), and no device.
std::wstring checkedName(const std::string& name, const std::string& action) {
    if (name.find_first_of("*?") != std::string::npos) {
        throw SystemError(action, ERROR_INVALID_NAME);
    }
    if (isWindowsDeviceName(name)) {
        throw SystemError(action, ERROR_BAD_DEVICE);
    }
    return toUtf16(name, action);
}

/// Opens what the name leads to for its attributes only: that needs no right on the file
/// itself and, unlike a read or a write, is never refused by another program's share mode.
HANDLE openForAttributes(const std::wstring& name) {
    return ::CreateFileW(name.c_str(), FILE_READ_ATTRIBUTES,
                         FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                         OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

/// Regular file, folder or device, from an open handle.
EntryKind kindOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle) != FILE_TYPE_DISK || !::GetFileInformationByHandle(handle, &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        return EntryKind::Other;
    }
    return EntryKind::RegularFile;
}

std::optional<FileId> idOfHandle(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        return std::nullopt;
    }
    return FileId{info.dwVolumeSerialNumber,
                  (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

bool setEndOfFile(HANDLE handle, std::int64_t size) {
    FILE_END_OF_FILE_INFO end{};
    end.EndOfFile.QuadPart = size;
    return ::SetFileInformationByHandle(handle, FileEndOfFileInfo, &end, sizeof end) != 0;
}

/// Deletes the open file. Windows 10 frees the name at once, as unlink does, where the file
/// system can; otherwise the name stays taken until every program that has the file open (a
/// follower, a virus scanner) lets go, and a run's new log could not be created meanwhile.
bool deleteNow(HANDLE handle) {
    FILE_DISPOSITION_INFO_EX posix{};
    posix.Flags = FILE_DISPOSITION_FLAG_DELETE | FILE_DISPOSITION_FLAG_POSIX_SEMANTICS;
    if (::SetFileInformationByHandle(handle, kFileDispositionInfoEx, &posix, sizeof posix)) {
        return true;
    }
    FILE_DISPOSITION_INFO classic{};
    classic.DeleteFile = TRUE;
    return ::SetFileInformationByHandle(handle, FileDispositionInfo, &classic, sizeof classic) != 0;
}

class Win32RecordFile final : public RecordFile {
public:
    Win32RecordFile(HANDLE handle, std::string name, std::size_t recordSize)
        : handle_(handle), name_(std::move(name)), recordSize_(recordSize),
          id_(idOfHandle(handle).value_or(FileId{})) {}

    ~Win32RecordFile() override {
        if (handle_ != INVALID_HANDLE_VALUE) {
            ::CloseHandle(handle_);
        }
    }

    // One positioned WriteFile per record, straight to the system: nothing waits in a buffer
    // of ours, so a killed program loses no record the system has taken.
    void writeRecord(std::int64_t recordNumber, std::span<const std::uint8_t> bytes) override {
        const std::string action = "Impossible d'écrire dans le fichier " + quoted(name_);
        if (handle_ == INVALID_HANDLE_VALUE) {
            throw SystemError(action, ERROR_INVALID_HANDLE);
        }
        const std::int64_t offset = (recordNumber - 1) * static_cast<std::int64_t>(recordSize_);
        OVERLAPPED at{};
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFF);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        DWORD written = 0;
        const DWORD size = static_cast<DWORD>(bytes.size());
        const bool failed = !::WriteFile(handle_, bytes.data(), size, &written, &at);
        if (failed || written != size) {
            const int error = failed ? lastError() : ERROR_DISK_FULL;
            dropPartialRecord(offset, written);
            throw SystemError(action, error);
        }
    }

    void sync() override {
        if (handle_ != INVALID_HANDLE_VALUE && !::FlushFileBuffers(handle_)) {
            throw SystemError("Impossible d'enregistrer sur le disque le fichier " + quoted(name_),
                              lastError());
        }
    }

    void close() override {
        if (handle_ == INVALID_HANDLE_VALUE) {
            return;
        }
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        const bool flushed = ::FlushFileBuffers(handle) != 0;
        const int flushError = lastError();
        if (!::CloseHandle(handle)) {
            throw SystemError("Impossible de fermer le fichier " + quoted(name_), lastError());
        }
        if (!flushed) {
            throw SystemError("Impossible d'enregistrer sur le disque le fichier " + quoted(name_),
                              flushError);
        }
    }

    FileId id() const override { return id_; }

private:
    // As on every system: a record cut short at the end of the file is cut away, so that the
    // file stays a whole number of records for readers that compute offsets.
    void dropPartialRecord(std::int64_t offset, DWORD written) {
        LARGE_INTEGER size{};
        if (written > 0 && ::GetFileSizeEx(handle_, &size) && size.QuadPart == offset + written) {
            setEndOfFile(handle_, offset); // best effort: the write's error is what matters
        }
    }

    HANDLE handle_;
    std::string name_;
    std::size_t recordSize_;
    FileId id_;
};

} // namespace

EntryKind Win32FileSystem::probe(const std::string& name) {
    const std::string action = "Impossible de vérifier l'existence du fichier " + quoted(name);
    if (isWindowsDeviceName(name)) {
        return EntryKind::Other; // never opened: opening a port can disturb what is on it
    }
    const std::wstring wide = checkedName(name, action);
    const Handle handle(openForAttributes(wide));
    if (handle.valid()) {
        return kindOf(handle.get());
    }
    const int error = lastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
        // A link whose target is gone still stands under the name.
        return ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES ? EntryKind::Absent
                                                                             : EntryKind::Other;
    }
    throw SystemError(action, error);
}

std::optional<FileId> Win32FileSystem::idOf(const std::string& name) {
    if (name.find_first_of("*?") != std::string::npos || isWindowsDeviceName(name)) {
        return std::nullopt;
    }
    const Handle handle(
        openForAttributes(toUtf16(name, "Impossible d'identifier le fichier " + quoted(name))));
    return handle.valid() ? idOfHandle(handle.get()) : std::nullopt;
}

// The checks and the deletion are made on one handle, so what is deleted is exactly what was
// checked, even if the name is given to something else in between. A link is deleted itself,
// never its target, as unlink does.
void Win32FileSystem::remove(const std::string& name) {
    const std::string action = "Impossible de supprimer le fichier " + quoted(name);
    const Handle handle(::CreateFileW(
        checkedName(name, action).c_str(), DELETE | FILE_READ_ATTRIBUTES,
        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
        FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!handle.valid()) {
        throw SystemError(action, lastError());
    }
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(handle.get()) != FILE_TYPE_DISK) {
        throw SystemError(action, ERROR_BAD_DEVICE);
    }
    if (!::GetFileInformationByHandle(handle.get(), &info)) {
        throw SystemError(action, lastError());
    }
    if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw SystemError(action, ERROR_DIRECTORY_NOT_SUPPORTED);
    }
    if (!deleteNow(handle.get())) {
        throw SystemError(action, lastError());
    }
}

// Shared for reading only: others may follow the log while it grows, but no other program
// can write to it, rename it or delete it until the run closes it.
std::unique_ptr<RecordFile> Win32FileSystem::createRecords(const std::string& name,
                                                           std::size_t recordSize) {
    const std::string action = "Impossible de créer le fichier " + quoted(name);
    const HANDLE handle =
        ::CreateFileW(checkedName(name, action).c_str(), GENERIC_READ | GENERIC_WRITE,
                      FILE_SHARE_READ, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throw SystemError(action, lastError());
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        throw SystemError(action, ERROR_BAD_DEVICE);
    }
    return std::make_unique<Win32RecordFile>(handle, name, recordSize);
}

} // namespace ombrelis::platform

#include "WindowsApi.h"

#include <ombrelis/platform/SystemError.h>
#include <ombrelis/platform/Win32FileSystem.h>
#include <ombrelis/platform/WindowsDeviceName.h>
#include <ombrelis/platform/WindowsText.h>
#include <optional>
#include <utility>

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

/// Volume serial number and file index: what tells one file from another, whatever the name.
std::optional<std::pair<DWORD, std::uint64_t>> identityOf(HANDLE handle) {
    BY_HANDLE_FILE_INFORMATION info{};
    if (!::GetFileInformationByHandle(handle, &info)) {
        return std::nullopt;
    }
    return std::pair{info.dwVolumeSerialNumber,
                     (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
}

/// The writers' lock is the share mode: a handle that shares reading only keeps every other
/// program from writing, renaming or deleting the file, and any open that asks for one of
/// those rights while a run holds the file is refused with a sharing violation.
constexpr DWORD kWritersLockShare = FILE_SHARE_READ;

/// Opening failed with `error`: a run holding the file, or a reason to report.
[[noreturn]] void throwOpenFailure(const std::string& name, const std::string& action, int error) {
    if (error == ERROR_SHARING_VIOLATION) {
        throw FileLocked(name);
    }
    throw SystemError(action, error);
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
        : handle_(handle), name_(std::move(name)), recordSize_(recordSize) {}

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
        if (!::CloseHandle(handle)) {
            throw SystemError("Impossible de fermer le fichier " + quoted(name_), lastError());
        }
    }

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
};

class Win32HeldFile final : public HeldFile {
public:
    Win32HeldFile(HANDLE handle, std::string name) : handle_(handle), name_(std::move(name)) {}

    // The held file cannot be renamed or deleted meanwhile (the share mode), yet the name is
    // looked at again: what is deleted must be exactly what the user was asked about. A link
    // now standing under the name is something else, and its target is never deleted.
    bool removeIfUnchanged() override {
        const std::string action = "Impossible de supprimer le fichier " + quoted(name_);
        const Handle now(::CreateFileW(
            toUtf16(name_, action).c_str(), FILE_READ_ATTRIBUTES,
            FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
            FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        const auto held = identityOf(handle_.get());
        if (!now.valid() || !held || identityOf(now.get()) != held) {
            return false;
        }
        if (!deleteNow(handle_.get())) {
            throw SystemError(action, lastError());
        }
        return true;
    }

private:
    Handle handle_;
    std::string name_;
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

// The file the name leads to is held (through a link, its target: that is what a run would
// be writing), with the right to delete it, so that the delete goes to exactly this file.
std::unique_ptr<HeldFile> Win32FileSystem::holdExisting(const std::string& name) {
    const std::string action = "Impossible d'ouvrir le fichier " + quoted(name);
    const HANDLE handle = ::CreateFileW(checkedName(name, action).c_str(),
                                        DELETE | FILE_READ_ATTRIBUTES, kWritersLockShare, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throwOpenFailure(name, action, lastError());
    }
    auto held = std::make_unique<Win32HeldFile>(handle, name);
    return kindOf(handle) == EntryKind::RegularFile ? std::move(held) : nullptr;
}

// Shared for reading only: others may follow the log while it grows, but no other program
// can write to it, rename it or delete it until the run closes it.
std::unique_ptr<RecordFile> Win32FileSystem::createRecords(const std::string& name,
                                                           std::size_t recordSize) {
    const std::string action = "Impossible de créer le fichier " + quoted(name);
    const HANDLE handle =
        ::CreateFileW(checkedName(name, action).c_str(), GENERIC_READ | GENERIC_WRITE,
                      kWritersLockShare, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        throwOpenFailure(name, action, lastError());
    }
    if (::GetFileType(handle) != FILE_TYPE_DISK) {
        ::CloseHandle(handle);
        throw SystemError(action, ERROR_BAD_DEVICE);
    }
    return std::make_unique<Win32RecordFile>(handle, name, recordSize);
}

} // namespace ombrelis::platform

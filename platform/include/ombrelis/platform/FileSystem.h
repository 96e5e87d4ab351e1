#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <stdexcept>
#include <string>

namespace ombrelis::platform {

enum class EntryKind {
    Absent,      ///< nothing at all under that exact name
    RegularFile, ///< a regular file (hidden or not), or a link to one
    Other,       ///< a directory, device, pipe, socket or dangling link: never to be touched
};

/// A file of fixed-length records, open for reading and writing, under the writers' lock
/// (see FileSystem) until it is closed or destroyed. Every failure throws SystemError.
/// writeRecord and sync may be called from two threads at once; close from neither of them
/// while the other runs.
class RecordFile {
public:
    virtual ~RecordFile() = default;
    /// Writes one record (record 1 at offset 0) with a single write call, no buffering.
    virtual void writeRecord(std::int64_t recordNumber, std::span<const std::uint8_t> bytes) = 0;
    /// Pushes what was written to stable storage.
    virtual void sync() = 0;
    /// Closes, releasing the lock, without a sync of its own. Further calls are no-ops.
    virtual void close() = 0;
};

/// An existing regular file held open under the writers' lock while the user is asked
/// whether to overwrite it.
class HeldFile {
public:
    virtual ~HeldFile() = default;
    /// Deletes the name if it still leads to the very file that was held (same device and
    /// inode). Returns false, touching nothing, when something else stands there now.
    virtual bool removeIfUnchanged() = 0;
};

/// Another run, in this program or another, holds the writers' lock on the file.
class FileLocked : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// File-system operations on exact names: no wildcard expansion, hidden entries included.
/// A log file is written under an advisory "writers' lock" that belongs to the open file, not
/// to the process, so that two runs never write one file, whether in one program or in two.
/// Every failure throws SystemError, or FileLocked where said.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual EntryKind probe(const std::string& name) = 0;
    /// Opens the regular file `name` and takes the writers' lock on it. Null when the name
    /// no longer leads to a regular file; throws FileLocked when a run holds the lock.
    virtual std::unique_ptr<HeldFile> holdExisting(const std::string& name) = 0;
    /// Creates a new, empty file for records of `recordSize` bytes, open for reading and
    /// writing, and takes the writers' lock on it. Fails (EEXIST) when anything already
    /// stands under that name, so a file that appeared after the probe is never written over;
    /// throws FileLocked when another run got the lock of the new file first.
    virtual std::unique_ptr<RecordFile> createRecords(const std::string& name,
                                                      std::size_t recordSize) = 0;
};

} // namespace ombrelis::platform

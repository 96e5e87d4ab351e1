#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>

namespace ombrelis::platform {

enum class EntryKind {
    Absent,      ///< nothing at all under that exact name
    RegularFile, ///< a regular file (hidden or not), or a link to one
    Other,       ///< a directory, device, pipe, socket or dangling link: never to be touched
};

/// Identity of an open or existing file, so that two names for one file can be told apart.
struct FileId {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    friend bool operator==(const FileId&, const FileId&) = default;
};

/// A file of fixed-length records, open for reading and writing.
/// Every failure throws SystemError.
class RecordFile {
public:
    virtual ~RecordFile() = default;
    /// Writes one record (record 1 at offset 0) with a single write call, no buffering.
    virtual void writeRecord(std::int64_t recordNumber, std::span<const std::uint8_t> bytes) = 0;
    /// Pushes what was written to stable storage.
    virtual void sync() = 0;
    /// Syncs and closes. Further calls are no-ops.
    virtual void close() = 0;
    virtual FileId id() const = 0;
};

/// File-system operations on exact names: no wildcard expansion, hidden entries included.
/// Every failure throws SystemError.
class FileSystem {
public:
    virtual ~FileSystem() = default;
    virtual EntryKind probe(const std::string& name) = 0;
    /// Identity of the file the name leads to, if any.
    virtual std::optional<FileId> idOf(const std::string& name) = 0;
    virtual void remove(const std::string& name) = 0;
    /// Creates a new, empty file for records of `recordSize` bytes, open for reading and
    /// writing. Fails (EEXIST) when anything already stands under that name, so a file that
    /// appeared after the probe is never written over.
    virtual std::unique_ptr<RecordFile> createRecords(const std::string& name,
                                                      std::size_t recordSize) = 0;
};

} // namespace ombrelis::platform

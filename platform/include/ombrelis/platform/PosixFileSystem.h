#pragma once

#include <ombrelis/platform/FileSystem.h>

namespace ombrelis::platform {

/// FileSystem over POSIX calls.
class PosixFileSystem final : public FileSystem {
public:
    EntryKind probe(const std::string& name) override;
    std::optional<FileId> idOf(const std::string& name) override;
    void remove(const std::string& name) override;
    std::unique_ptr<RecordFile> createRecords(const std::string& name,
                                              std::size_t recordSize) override;
};

/// A record file over an already open descriptor, which it then owns. Lets tests and tools
/// write records to what they opened themselves (a full device, say).
std::unique_ptr<RecordFile> recordFileOnDescriptor(int fd, const std::string& name,
                                                   std::size_t recordSize);

} // namespace ombrelis::platform

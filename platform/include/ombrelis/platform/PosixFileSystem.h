#pragma once

#include <ombrelis/platform/FileSystem.h>

namespace ombrelis::platform {

/// FileSystem over POSIX calls.
class PosixFileSystem final : public FileSystem {
public:
    EntryKind probe(const std::string& name) override;
    std::unique_ptr<HeldFile> holdExisting(const std::string& name) override;
    std::unique_ptr<RecordFile> createRecords(const std::string& name,
                                              std::size_t recordSize) override;
};

/// A record file over an already open descriptor, which it then owns, without the writers'
/// lock. Lets tests and tools write records to what they opened themselves (a full device).
std::unique_ptr<RecordFile> recordFileOnDescriptor(int fd, const std::string& name,
                                                   std::size_t recordSize);

} // namespace ombrelis::platform

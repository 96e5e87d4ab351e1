#pragma once

#include <ombrelis/platform/FileSystem.h>
#include <string>

namespace ombrelis::platform {

/// FileSystem over the wide Win32 calls, on the exact name given in UTF-8.
/// Names with * or ? are refused rather than matched: Windows never allows them in a file
/// name, and a wildcard must never pick a file for deletion. Names of devices (NUL, CON, PRN,
/// AUX, COM1-9, LPT1-9, with or without an extension) are never opened, created or deleted.
/// The writers' lock is the share mode: while a record file is open, or an existing file is
/// held, other programs may read it but neither write, rename nor delete it. Windows only.
class Win32FileSystem final : public FileSystem {
public:
    EntryKind probe(const std::string& name) override;
    std::unique_ptr<HeldFile> holdExisting(const std::string& name) override;
    std::unique_ptr<RecordFile> createRecords(const std::string& name,
                                              std::size_t recordSize) override;
};

} // namespace ombrelis::platform

#pragma once

#include <cstdint>
#include <memory>
#include <ombrelis/engine/MesureRec.h>
#include <ombrelis/platform/FileSystem.h>

namespace ombrelis::engine {

/// The open log file of one run. Each record goes to the system as soon as it is filled, and
/// the file is synced to stable storage at least once a second and at the close, so a process
/// killed at any moment leaves whole records only.
class LogFile {
public:
    static constexpr std::int64_t kSyncIntervalMs = 1000;

    LogFile(std::unique_ptr<platform::RecordFile> file, std::int64_t openedAtMs);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    /// Writes record `number` (1-based). `nowMs` is the caller's fresh clock reading.
    void write(std::int32_t number, const MesureRec& record, std::int64_t nowMs);
    /// Called when the caller is about to wait until `nextWriteMs`: a sync that the next write
    /// would have to make is made now, while the caller has time to spare, so it does not
    /// delay the next sample.
    void syncAhead(std::int64_t nowMs, std::int64_t nextWriteMs);
    /// Syncs and closes; throws SystemError when the system refuses.
    void close();
    bool isOpen() const noexcept { return open_; }
    platform::FileId id() const { return file_->id(); }
    std::int32_t recordsWritten() const noexcept { return recordsWritten_; }

private:
    std::unique_ptr<platform::RecordFile> file_;
    std::int64_t lastSyncMs_;
    std::int32_t recordsWritten_ = 0;
    bool unsynced_ = false;
    bool open_ = true;
};

} // namespace ombrelis::engine

#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <exception>
#include <memory>
#include <mutex>
#include <ombrelis/engine/MesureRec.h>
#include <ombrelis/platform/FileSystem.h>
#include <thread>

namespace ombrelis::engine {

/// The open log file of one run. Each record goes to the system as soon as it is filled. A
/// thread of its own syncs the file to stable storage once a second whenever records were
/// written since the last sync, whatever the run is doing (waiting, or held by a modal dialog
/// in its pump), and without ever delaying a sample; the close syncs once more.
class LogFile {
public:
    static constexpr std::chrono::milliseconds kSyncInterval{1000};

    explicit LogFile(std::unique_ptr<platform::RecordFile> file,
                     std::chrono::milliseconds syncInterval = kSyncInterval);
    ~LogFile();
    LogFile(const LogFile&) = delete;
    LogFile& operator=(const LogFile&) = delete;

    /// Writes record `number` (1-based). Throws the failure of a background sync first, so
    /// that no record is shown as kept once the system has refused to keep them.
    void write(std::int32_t number, const MesureRec& record);
    /// Syncs and closes; throws SystemError when the system refuses.
    void close();
    bool isOpen() const noexcept { return open_; }
    std::int32_t recordsWritten() const noexcept { return recordsWritten_; }

private:
    void syncEveryInterval();
    void stopSyncing();

    std::unique_ptr<platform::RecordFile> file_;
    std::chrono::milliseconds syncInterval_;
    std::int32_t recordsWritten_ = 0;
    bool open_ = true;

    std::atomic<bool> unsynced_{false};
    std::atomic<bool> syncFailed_{false};
    std::mutex mutex_; // guards stopping_ and syncFailure_
    std::condition_variable wake_;
    bool stopping_ = false;
    std::exception_ptr syncFailure_;
    std::thread syncer_;
};

} // namespace ombrelis::engine

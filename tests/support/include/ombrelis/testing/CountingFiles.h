#pragma once

#include <atomic>
#include <ombrelis/platform/FileSystem.h>
#include <ombrelis/platform/SystemError.h>

namespace ombrelis::testing {

/// What reached a log file, counted as it happens (syncs come from the log's own thread), and
/// the errno that its syncs or its close are to fail with (0: none).
struct FileCounts {
    std::atomic<int> writes{0}, syncs{0}, closes{0};
    std::atomic<int> writesSynced{0};         ///< writes made before the latest sync
    std::atomic<int> writesSyncedAtClose{-1}; ///< writesSynced when the file was closed
    std::atomic<int> failWriteWith{0}, failSyncWith{0}, failCloseWith{0};
};

/// A record file that keeps nothing and counts everything into `counts`.
class CountingRecordFile final : public platform::RecordFile {
public:
    explicit CountingRecordFile(FileCounts& counts) : counts_(counts) {}
    void writeRecord(std::int64_t, std::span<const std::uint8_t>) override {
        failWith(counts_.failWriteWith);
        ++counts_.writes;
    }
    void sync() override {
        const int written = counts_.writes;
        ++counts_.syncs;
        failWith(counts_.failSyncWith);
        counts_.writesSynced = written;
    }
    void close() override {
        ++counts_.closes;
        counts_.writesSyncedAtClose = counts_.writesSynced.load();
        failWith(counts_.failCloseWith);
    }

private:
    static void failWith(int error) {
        if (error != 0) {
            throw platform::SystemError("Échec voulu par le test", error);
        }
    }
    FileCounts& counts_;
};

} // namespace ombrelis::testing

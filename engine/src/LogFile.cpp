#include <ombrelis/engine/LogFile.h>

namespace ombrelis::engine {

LogFile::LogFile(std::unique_ptr<platform::RecordFile> file, std::int64_t openedAtMs)
    : file_(std::move(file)), lastSyncMs_(openedAtMs) {}

LogFile::~LogFile() {
    if (open_) {
        try {
            file_->close();
        } catch (...) {
            // Only reached while another failure unwinds; that one is what gets reported.
        }
    }
}

void LogFile::write(std::int32_t number, const MesureRec& record, std::int64_t nowMs) {
    const RecordBytes bytes = encode(record);
    file_->writeRecord(number, bytes);
    recordsWritten_ = number;
    unsynced_ = true;
    if (nowMs - lastSyncMs_ >= kSyncIntervalMs) {
        file_->sync();
        lastSyncMs_ = nowMs;
        unsynced_ = false;
    }
}

void LogFile::syncAhead(std::int64_t nowMs, std::int64_t nextWriteMs) {
    if (unsynced_ && nextWriteMs - lastSyncMs_ >= kSyncIntervalMs) {
        file_->sync();
        lastSyncMs_ = nowMs;
        unsynced_ = false;
    }
}

void LogFile::close() {
    if (open_) {
        open_ = false;
        file_->close();
    }
}

} // namespace ombrelis::engine

#include <ombrelis/engine/LogFile.h>
#include <utility>

namespace ombrelis::engine {

LogFile::LogFile(std::unique_ptr<platform::RecordFile> file, std::chrono::milliseconds syncInterval)
    : file_(std::move(file)), syncInterval_(syncInterval),
      syncer_([this] { syncEveryInterval(); }) {}

LogFile::~LogFile() {
    try {
        close();
    } catch (...) {
        // Only reached while another failure unwinds; that one is what gets reported.
    }
}

void LogFile::write(std::int32_t number, const MesureRec& record) {
    if (syncFailed_.load(std::memory_order_acquire) &&
        syncFailed_.exchange(false, std::memory_order_acq_rel)) {
        std::exception_ptr failure;
        {
            std::lock_guard lock(mutex_);
            failure = std::exchange(syncFailure_, nullptr); // told once, here
        }
        std::rethrow_exception(failure);
    }
    file_->writeRecord(number, encode(record));
    recordsWritten_ = number;
    unsynced_.store(true, std::memory_order_release);
}

void LogFile::syncEveryInterval() {
    std::unique_lock lock(mutex_);
    while (!wake_.wait_for(lock, syncInterval_, [this] { return stopping_; })) {
        if (!unsynced_.exchange(false, std::memory_order_acq_rel)) {
            continue;
        }
        lock.unlock();
        try {
            file_->sync();
            lock.lock();
        } catch (...) {
            lock.lock();
            syncFailure_ = std::current_exception();
            syncFailed_.store(true, std::memory_order_release);
            return;
        }
    }
}

void LogFile::stopSyncing() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_one();
    syncer_.join();
}

void LogFile::close() {
    if (!open_) {
        return;
    }
    open_ = false;
    stopSyncing();
    std::exception_ptr failure = syncFailure_;
    try {
        file_->sync();
    } catch (...) {
        if (!failure) {
            failure = std::current_exception();
        }
    }
    try {
        file_->close();
    } catch (...) {
        if (!failure) {
            failure = std::current_exception();
        }
    }
    if (failure) {
        std::rethrow_exception(failure);
    }
}

} // namespace ombrelis::engine

#include <algorithm>
#include <cstring>
#include <ombrelis/logtool/LogReader.h>

namespace ombrelis::logtool {

LogReader::LogReader(ByteSource& source, std::size_t blockRecords)
    : source_(source), buffer_(std::max<std::size_t>(1, blockRecords) * engine::kRecordSize) {}

LogView LogReader::next() {
    // A pipe hands out what its writer has written so far: give back the records as soon as
    // one is whole, so that a reader downstream sees a live run without delay.
    std::memmove(buffer_.data(), buffer_.data() + lastCount_ * engine::kRecordSize, held_);
    std::size_t filled = held_;
    while (filled < engine::kRecordSize) {
        const std::size_t n = source_.read(std::span<std::uint8_t>(buffer_).subspan(filled));
        if (n == 0) {
            break;
        }
        filled += n;
    }
    const std::size_t whole = filled - filled % engine::kRecordSize;
    held_ = filled - whole;
    lastCount_ = whole / engine::kRecordSize;
    records_ += lastCount_;
    return LogView(std::span<const std::uint8_t>(buffer_.data(), whole));
}

void LogReader::restart() noexcept {
    held_ = 0;
    lastCount_ = 0;
    records_ = 0;
}

} // namespace ombrelis::logtool

#pragma once

#include <cstddef>
#include <cstdint>
#include <ombrelis/logtool/Input.h>
#include <ombrelis/logtool/LogView.h>
#include <vector>

namespace ombrelis::logtool {

/// Whole records per block: under a mebibyte, so a log of any size is read in small memory.
inline constexpr std::size_t kBlockRecords = 65536;

/// The one way this program reads a log: block after block of whole records from a byte
/// source, a record cut between two reads held back until its last bytes come.
class LogReader {
public:
    explicit LogReader(ByteSource& source, std::size_t blockRecords = kBlockRecords);

    /// The next whole records, at most one block of them; empty at the end of the input (for
    /// a followed file: when nothing more has landed yet). The view lasts until the next call.
    /// Throws InputError.
    LogView next();

    /// The 1-based number of the first record of the block next() returned last.
    std::uint64_t firstNumber() const noexcept { return records_ - lastCount_ + 1; }
    /// Whole records handed out so far.
    std::uint64_t records() const noexcept { return records_; }
    /// Bytes read of a record not yet whole: at the end, a record cut short.
    std::size_t trailingBytes() const noexcept { return held_; }

    /// Counts from record 1 again and drops the bytes held back: the source starts over.
    void restart() noexcept;

private:
    ByteSource& source_;
    std::vector<std::uint8_t> buffer_;
    std::size_t held_ = 0;      ///< bytes of an incomplete record at the start of buffer_
    std::size_t lastCount_ = 0; ///< records in the block returned last
    std::uint64_t records_ = 0;
};

} // namespace ombrelis::logtool

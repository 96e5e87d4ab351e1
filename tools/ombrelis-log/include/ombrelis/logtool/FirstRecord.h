#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <ombrelis/engine/MesureRec.h>
#include <span>

namespace ombrelis::logtool {

/// The first record of a followed log as it was read. A log copied over in place (`cp` onto
/// the name: the same file, emptied and written again) can be longer than what was read by the
/// next look, so neither its name nor its size tells; its first record does.
class FirstRecord {
public:
    /// Takes note of `bytes`, read at `offset`; the file is read in order from its start.
    void saw(std::uint64_t offset, std::span<const std::uint8_t> bytes) {
        if (offset != kept_ || kept_ == bytes_.size()) {
            return;
        }
        const std::size_t taken = std::min(bytes_.size() - kept_, bytes.size());
        std::copy_n(bytes.begin(), taken, bytes_.begin() + static_cast<std::ptrdiff_t>(kept_));
        kept_ += taken;
    }
    /// True when the whole first record was read and `now` (the file's first bytes as they
    /// stand) is another.
    bool changed(std::span<const std::uint8_t> now) const {
        return kept_ == bytes_.size() &&
               !std::equal(bytes_.begin(), bytes_.end(), now.begin(), now.end());
    }
    void forget() { kept_ = 0; }

    static constexpr std::size_t size() { return engine::kRecordSize; }

private:
    std::array<std::uint8_t, engine::kRecordSize> bytes_{};
    std::size_t kept_ = 0;
};

} // namespace ombrelis::logtool

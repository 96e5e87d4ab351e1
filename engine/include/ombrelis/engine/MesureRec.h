#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace ombrelis::engine {

/// One sample as other programs find it in the log file: 14 bytes, little-endian, no padding.
struct MesureRec {
    std::int16_t Valeur = 0;
    std::array<char, 8> Heure{}; ///< "HH:MM:SS", no terminator
    std::int32_t TempsMs = 0;
    friend bool operator==(const MesureRec&, const MesureRec&) = default;
};

inline constexpr std::size_t kRecordSize = 14;
using RecordBytes = std::array<std::uint8_t, kRecordSize>;

/// Fills `Heure` from the left: a shorter text is padded with blanks, a longer one cut to 8.
std::array<char, 8> heureFromText(std::string_view text);

RecordBytes encode(const MesureRec& record);
MesureRec decode(std::span<const std::uint8_t, kRecordSize> bytes);

} // namespace ombrelis::engine

#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <ombrelis/engine/MesureRec.h>
#include <span>
#include <string>

namespace ombrelis::logtool {

/// The bytes of a log file, or of a block of it, seen as its records. Copies nothing: the bytes
/// must outlive the view.
class LogView {
public:
    explicit LogView(std::span<const std::uint8_t> bytes) noexcept : bytes_(bytes) {}

    std::size_t sizeInBytes() const noexcept { return bytes_.size(); }
    /// Whole records, i.e. the records other programs find at (n - 1) × 14.
    std::size_t recordCount() const noexcept { return bytes_.size() / engine::kRecordSize; }
    bool empty() const noexcept { return recordCount() == 0; }
    /// Bytes after the last whole record: a record cut short, 0 in a sound file.
    std::size_t trailingBytes() const noexcept { return bytes_.size() % engine::kRecordSize; }
    /// Record `number`, 1-based, decoded; `number` must lie in 1..recordCount().
    engine::MesureRec record(std::size_t number) const;

private:
    std::span<const std::uint8_t> bytes_;
};

/// `Heure` as text a terminal or a spreadsheet can show: printable ASCII as is, every other
/// byte (and the backslash) as \xNN, so a damaged field is shown exactly and unambiguously.
std::string printableHeure(const std::array<char, 8>& heure);

/// Room that putHeure needs: 8 bytes as \xNN and two quotes, with spare for its copies.
inline constexpr std::size_t kHeureRoom = 40;

/// Writes printableHeure at `out` (room for kHeureRoom characters) and returns the end; for a
/// CSV field, quoted when it holds `separator` or a double quote, whose quotes are doubled.
char* putHeure(char* out, const std::array<char, 8>& heure, bool csvField, char separator = ',');

/// Writes voltsText at `out` (room for 16 characters) and returns the end; `decimalMark` is ','
/// for a spreadsheet with French settings.
char* putVolts(char* out, std::int32_t counts, char decimalMark = '.');

/// A count as volts with three decimals: one count is one millivolt on the 4.096 V reference.
/// Formed from the integer, so it is exact ("2.051", "-0.005").
std::string voltsText(std::int32_t counts);

} // namespace ombrelis::logtool

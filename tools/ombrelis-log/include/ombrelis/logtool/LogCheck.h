#pragma once

#include <cstddef>
#include <cstdint>
#include <ombrelis/logtool/LogView.h>
#include <optional>
#include <string>
#include <vector>

namespace ombrelis::logtool {

/// The first place where the file goes wrong.
struct FirstFault {
    std::uint64_t record = 0;     ///< 1-based; records + 1 for a record cut short
    std::vector<std::string> why; ///< one sentence per fault of that record
};

/// Everything `check` says about a log file.
struct CheckReport {
    std::uint64_t records = 0;
    std::size_t trailingBytes = 0;

    // Faults found, counted per kind.
    std::uint64_t tempsDecreases = 0;
    std::uint64_t badHeures = 0;
    std::uint64_t valeursOutOfRange = 0;
    bool firstTempsNotZero = false;
    std::optional<FirstFault> firstFault; ///< absent when the file is sound

    // Figures of the run, over every whole record (damaged ones included).
    std::int64_t durationMs = 0; ///< TempsMs of the last record minus that of record 1
    double meanIntervalMs = 0;   ///< durationMs / (records - 1); 0 with fewer than 2 records
    std::int64_t largestIntervalMs = 0;
    std::uint64_t largestIntervalRecord = 0; ///< the record that ends the largest interval
    std::int16_t smallestValeur = 0;
    std::uint64_t smallestValeurRecord = 0;
    std::int16_t largestValeur = 0;
    std::uint64_t largestValeurRecord = 0;
    std::string firstHeure; ///< printable, of record 1
    std::string lastHeure;  ///< printable, of the last record

    bool sound() const noexcept { return !firstFault.has_value(); }
};

/// True when `heure` reads HH:MM:SS on the 24-hour clock (a leap second 60 allowed).
bool isValidHeure(const std::array<char, 8>& heure) noexcept;

/// Checks a log block by block as it is read, keeping only the figures: its memory does not
/// grow with the log.
class LogChecker {
public:
    /// The next whole records of the log, in file order.
    void add(const LogView& block);
    /// The report on every record added, the log ending with `trailingBytes` of a record cut
    /// short.
    CheckReport report(std::size_t trailingBytes) const;

private:
    CheckReport report_;
    engine::MesureRec previous_;
    bool heureOk_ = false; ///< whether previous_.Heure is a valid time
};

/// Checks every record of a log held whole in memory. Pure: reads only the view.
CheckReport checkLog(const LogView& log);

} // namespace ombrelis::logtool

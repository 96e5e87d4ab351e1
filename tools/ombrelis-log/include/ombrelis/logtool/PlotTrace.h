#pragma once

#include <cstddef>
#include <cstdint>
#include <ombrelis/logtool/LogView.h>
#include <ombrelis/logtool/PlotLayout.h>
#include <utility>
#include <vector>

namespace ombrelis::logtool {

/// Time bins kept by a trace by default: 2 MiB, enough for the widest picture.
inline constexpr std::size_t kTraceBins = 32768;

/// Bins for a picture `width` pixels wide: the stamps fill at least a quarter of the bins, so
/// that is one bin or more per pixel column. No more than that: random stamps, as in a damaged
/// log, land in every bin in turn, and fewer bins stay in the processor's cache.
constexpr std::size_t traceBinsFor(int width) {
    return 4 * static_cast<std::size_t>(width > 1 ? width : 1);
}

/// What the picture needs of a log, gathered in one pass as the blocks are read: the time
/// span, the record count, and, over bins of time, the first, lowest, highest and last record
/// of each. The span is not known before the end, so the bins start one millisecond wide and
/// are merged pairwise whenever a record falls outside them: memory stays fixed and the cost
/// is linear in the records plus the bins, whatever order the stamps come in.
class PlotTrace {
public:
    explicit PlotTrace(std::size_t bins = kTraceBins);

    /// The next whole records of the log, in file order.
    void add(const LogView& block);

    std::uint64_t records() const noexcept { return records_; }
    /// TempsMs of the last record minus that of the first, as `check` gives it.
    std::int64_t durationMs() const noexcept {
        return static_cast<std::int64_t>(lastTemps_) - firstTemps_;
    }
    /// From the smallest to the largest TempsMs, in seconds (0 to 1 s without records).
    std::pair<double, double> timeSpanSeconds() const;

    /// The trace as pixel points: the records of each pixel column reduced to the first, lowest,
    /// highest and last of them, in the order they came. A value off the scale is held just
    /// outside the chart, so the line leaves the chart without being drawn far beyond it.
    std::vector<PlotPoint> points(const PlotLayout& layout) const;

    struct Sample {
        std::uint64_t number = 0; ///< record number; 0 in an empty bin
        std::int32_t tempsMs = 0;
        std::int16_t valeur = 0;
    };
    /// The whole run reduced to at most four records a bin: each bin's first, lowest, highest
    /// and last, each once, in the order they came within a bin, bin after bin in time.
    std::vector<Sample> kept() const;

private:
    struct Bin {
        Sample first, low, high, last;
        void add(const Sample& s) noexcept;
        void merge(const Bin& other) noexcept;
    };

    /// Merges and moves the bins so that they hold every stamp seen, with room to spare.
    void widen();

    std::vector<Bin> bins_;
    int shift_ = 0;           ///< bins are 2^shift_ ms wide; bin k holds [k, k + 1) << shift_
    std::int64_t origin_ = 0; ///< the k of bins_[0]
    std::uint64_t records_ = 0;
    std::int32_t firstTemps_ = 0;
    std::int32_t lastTemps_ = 0;
    std::int32_t smallestTemps_ = 0;
    std::int32_t largestTemps_ = 0;
};

} // namespace ombrelis::logtool

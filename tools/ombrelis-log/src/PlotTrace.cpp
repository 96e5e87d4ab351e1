#include <algorithm>
#include <array>
#include <cmath>
#include <ombrelis/logtool/PlotTrace.h>

namespace ombrelis::logtool {

namespace {

/// Consecutive trace points that fall in one pixel column.
struct ColumnRun {
    PlotPoint first, low, high, last;
    std::size_t count = 0, lowIndex = 0, highIndex = 0;

    void add(const PlotPoint& p) {
        if (count == 0) {
            first = low = high = p;
        }
        if (p.y < low.y) {
            low = p;
            lowIndex = count;
        }
        if (p.y > high.y) {
            high = p;
            highIndex = count;
        }
        last = p;
        ++count;
    }

    /// First, lowest, highest and last, in the order they came, each once.
    void flushInto(std::vector<PlotPoint>& points) const {
        if (count == 0) {
            return;
        }
        points.push_back(first);
        const auto middle = [&](const PlotPoint& p, std::size_t index) {
            if (index != 0 && index != count - 1) {
                points.push_back(p);
            }
        };
        if (lowIndex <= highIndex) {
            middle(low, lowIndex);
            middle(high, highIndex);
        } else {
            middle(high, highIndex);
            middle(low, lowIndex);
        }
        if (count > 1) {
            points.push_back(last);
        }
    }
};

} // namespace

void PlotTrace::Bin::add(const Sample& s) noexcept {
    if (first.number == 0) {
        first = low = high = last = s;
        return;
    }
    if (s.valeur < low.valeur) {
        low = s;
    }
    if (s.valeur > high.valeur) {
        high = s;
    }
    last = s;
}

void PlotTrace::Bin::merge(const Bin& other) noexcept {
    if (first.number == 0) {
        *this = other;
        return;
    }
    // Of equal values the one that came first stays, as when the records are added one by one.
    const auto earlier = [](const Sample& a, const Sample& b) { return a.number < b.number; };
    if (earlier(other.first, first)) {
        first = other.first;
    }
    if (earlier(last, other.last)) {
        last = other.last;
    }
    if (other.low.valeur < low.valeur ||
        (other.low.valeur == low.valeur && earlier(other.low, low))) {
        low = other.low;
    }
    if (other.high.valeur > high.valeur ||
        (other.high.valeur == high.valeur && earlier(other.high, high))) {
        high = other.high;
    }
}

PlotTrace::PlotTrace(std::size_t bins) : bins_(std::max<std::size_t>(bins, 4)) {}

void PlotTrace::add(const LogView& block) {
    const auto size = static_cast<std::int64_t>(bins_.size());
    for (std::size_t i = 1; i <= block.recordCount(); ++i) {
        const engine::MesureRec record = block.record(i);
        const std::int32_t t = record.TempsMs;
        if (records_ == 0) {
            firstTemps_ = smallestTemps_ = largestTemps_ = t;
        }
        lastTemps_ = t;
        smallestTemps_ = std::min(smallestTemps_, t);
        largestTemps_ = std::max(largestTemps_, t);
        std::int64_t index = (std::int64_t{t} >> shift_) - origin_;
        if (index < 0 || index >= size) {
            widen();
            index = (std::int64_t{t} >> shift_) - origin_;
        }
        bins_[static_cast<std::size_t>(index)].add(Sample{++records_, t, record.Valeur});
    }
}

// The stamps seen are brought within half of the bins, by doubling their width as often as
// needed, and centred. A stamp outside them then means the span has grown by a quarter of the
// bins at least, so the bins double at every widening but the first: at most 34 widenings
// for the 2^32 ms that TempsMs can span, each costing one pass over the bins.
void PlotTrace::widen() {
    const auto size = static_cast<std::int64_t>(bins_.size());
    const std::int64_t low = std::int64_t{smallestTemps_} >> shift_;
    const std::int64_t high = std::int64_t{largestTemps_} >> shift_;
    int doublings = 0;
    while ((high >> doublings) - (low >> doublings) + 1 > size / 2) {
        ++doublings;
    }
    const std::int64_t span = (high >> doublings) - (low >> doublings) + 1;
    const std::int64_t origin = (low >> doublings) - (size - span) / 2;
    std::vector<Bin> bins(bins_.size());
    for (std::size_t j = 0; j < bins_.size(); ++j) {
        if (bins_[j].first.number != 0) {
            const std::int64_t k = (origin_ + static_cast<std::int64_t>(j)) >> doublings;
            bins[static_cast<std::size_t>(k - origin)].merge(bins_[j]);
        }
    }
    bins_.swap(bins);
    shift_ += doublings;
    origin_ = origin;
}

std::pair<double, double> PlotTrace::timeSpanSeconds() const {
    if (records_ == 0) {
        return {0, 1};
    }
    return {smallestTemps_ / 1000.0, largestTemps_ / 1000.0};
}

std::vector<PlotTrace::Sample> PlotTrace::kept() const {
    std::vector<Sample> samples;
    for (const Bin& bin : bins_) {
        if (bin.first.number == 0) {
            continue;
        }
        std::array<const Sample*, 4> kept{&bin.first, &bin.low, &bin.high, &bin.last};
        std::sort(kept.begin(), kept.end(),
                  [](const Sample* a, const Sample* b) { return a->number < b->number; });
        for (std::size_t i = 0; i < kept.size(); ++i) {
            if (i == 0 || kept[i]->number != kept[i - 1]->number) {
                samples.push_back(*kept[i]);
            }
        }
    }
    return samples;
}

std::vector<PlotPoint> PlotTrace::points(const PlotLayout& layout) const {
    std::vector<PlotPoint> points;
    ColumnRun run;
    // Clipped here, once per kept sample: the painter then never strokes a line thousands of
    // pixels long to a value of random bytes.
    const double top = layout.area.top - 1;
    const double bottom = layout.area.bottom() + 1;
    const auto emit = [&](const Sample& s) {
        const PlotPoint p{layout.xOf(s.tempsMs / 1000.0),
                          std::clamp(layout.yOf(s.valeur / 1000.0), top, bottom)};
        if (run.count != 0 && std::floor(p.x) != std::floor(run.first.x)) {
            run.flushInto(points);
            run = ColumnRun{};
        }
        run.add(p);
    };
    for (const Sample& s : kept()) {
        emit(s);
    }
    run.flushInto(points);
    return points;
}

} // namespace ombrelis::logtool

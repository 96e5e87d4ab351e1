#include <ombrelis/engine/RunPriority.h>

namespace ombrelis::engine {

void RunPriority::forPeriod(double periodMs) {
    const bool wanted = periodMs > 0; // false for a NaN as well
    if (wanted == raised_) {
        return;
    }
    if (!wanted) {
        thread_.lower();
        raised_ = false;
        return;
    }
    if (refused_) {
        return; // asking again each cycle could cost a round trip to a broker every sample
    }
    raised_ = thread_.raise();
    refused_ = !raised_;
}

void RunPriority::runEnded() {
    if (raised_) {
        thread_.lower();
    }
    raised_ = false;
    refused_ = false;
}

} // namespace ombrelis::engine

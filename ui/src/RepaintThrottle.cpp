#include <algorithm>
#include <ombrelis/ui/RepaintThrottle.h>
#include <utility>

namespace ombrelis::ui {

RepaintThrottle::RepaintThrottle(std::function<void()> push) : push_(std::move(push)) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { pushNow(); });
}

void RepaintThrottle::changed() {
    if (due_) {
        return;
    }
    due_ = true;
    const qint64 since = sinceLastPush_.isValid() ? sinceLastPush_.elapsed() : kIntervalMs;
    timer_.start(static_cast<int>(std::max<qint64>(kMinDelayMs, kIntervalMs - since)));
}

void RepaintThrottle::pushNow() {
    timer_.stop();
    if (!due_) {
        return;
    }
    due_ = false;
    push_();
    sinceLastPush_.restart();
}

void RepaintThrottle::shownNow() {
    timer_.stop();
    due_ = false;
    sinceLastPush_.restart();
}

} // namespace ombrelis::ui

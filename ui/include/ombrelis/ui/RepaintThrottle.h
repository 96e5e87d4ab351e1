#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <functional>

namespace ombrelis::ui {

/// Brings what changed to the screen at display rate, for the chart and the status line alike.
///
/// At period 0 a run changes both hundreds of thousands of times a second, and a repaint costs
/// a hundred times a sample. So a change only asks for a push: the push comes at most about
/// sixty times a second, and never at once but after a short delay, so that the repaint falls
/// inside the run's wait rather than in the pump before its next deadline is set, where it
/// would lengthen the interval.
class RepaintThrottle {
public:
    /// `push` puts on screen what changed since the last push.
    explicit RepaintThrottle(std::function<void()> push);

    /// Something changed: `push` runs kMinDelayMs from now at the earliest and kIntervalMs
    /// after the previous push at the earliest. Further changes until then add nothing.
    void changed();
    /// Runs the push that is due, now; nothing when none is due.
    void pushNow();
    /// The owner has just shown everything by other means: the due push is called off and the
    /// interval counts from now.
    void shownNow();

    /// Shortest time between two pushes.
    static constexpr int kIntervalMs = 16;
    /// Shortest delay between a change and its push.
    static constexpr int kMinDelayMs = 2;

private:
    std::function<void()> push_;
    QTimer timer_;
    QElapsedTimer sinceLastPush_;
    bool due_ = false;
};

} // namespace ombrelis::ui

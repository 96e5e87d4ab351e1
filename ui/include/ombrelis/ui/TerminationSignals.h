#pragma once

#include <memory>

class QWidget;
class QSocketNotifier;

namespace ombrelis::ui {

/// Lets the system end the program as the user's close button does. On a logout, `kill` or
/// Ctrl+C in its terminal (SIGTERM, SIGHUP, SIGINT), a question or dialog that is up is
/// dismissed as Non / Annuler and `window` is closed from the event loop: a run under way ends
/// with its log file synced and closed, and the program leaves with status 0. The signal
/// handler itself only writes a byte to a pipe that the event loop reads. One per process.
/// On Windows, where a logout reaches the window as a close, it does nothing.
class TerminationSignals {
public:
    explicit TerminationSignals(QWidget& window);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace ombrelis::ui

#include <QApplication>
#include <QDialog>
#include <QSocketNotifier>
#include <QWidget>
#include <array>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <ombrelis/ui/TerminationSignals.h>
#include <unistd.h>

namespace ombrelis::ui {

namespace {

constexpr std::array kEndingSignals{SIGTERM, SIGHUP, SIGINT};

// The self-pipe: the handler's only way to the event loop. Written by the handler alone.
int wakeFds[2] = {-1, -1};

extern "C" void wakeEventLoop(int) {
    const int saved = errno;
    const char byte = 1;
    const ssize_t ignored = ::write(wakeFds[1], &byte, 1); // full pipe: a wake-up is pending
    (void)ignored;
    errno = saved;
}

void setHandler(int signalNumber, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(signalNumber, &action, nullptr);
}

/// A question is answered Non, the Save dialog cancelled, an error box closed: nothing is
/// asked of a user who is no longer there, and no choice is made for them.
void dismissDialogs() {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible()) {
            dialog->reject();
        }
    }
}

} // namespace

TerminationSignals::TerminationSignals(QWidget& window) {
    if (::pipe2(wakeFds, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // no descriptor left at start: the signals keep their default, as before
    }
    notifier_ = std::make_unique<QSocketNotifier>(wakeFds[0], QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, &window, [&window] {
        char bytes[64];
        while (::read(wakeFds[0], bytes, sizeof bytes) > 0) {
        }
        dismissDialogs();
        window.close();
    });
    for (const int signalNumber : kEndingSignals) {
        setHandler(signalNumber, wakeEventLoop);
    }
}

TerminationSignals::~TerminationSignals() {
    if (!notifier_) {
        return;
    }
    for (const int signalNumber : kEndingSignals) {
        setHandler(signalNumber, SIG_DFL);
    }
    notifier_.reset();
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

} // namespace ombrelis::ui

#include <QSocketNotifier>
#include <ombrelis/ui/TerminationSignals.h>

namespace ombrelis::ui {

TerminationSignals::TerminationSignals(QWidget&) {}

TerminationSignals::~TerminationSignals() = default;

} // namespace ombrelis::ui

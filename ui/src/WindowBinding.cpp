#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/WindowBinding.h>

namespace ombrelis::ui {

WindowBinding::WindowBinding(Form1& form) : form_(form) {
    const Form1Controls& c = form_.controls();
    for (PickList* list : {c.ctlVitesse, c.ctlAxetemps}) {
        QObject::connect(list, &QComboBox::currentTextChanged, &form_, [this] { refreshTexts(); });
        QObject::connect(list, &QComboBox::editTextChanged, &form_, [this] { refreshTexts(); });
    }
    refreshTexts();
    statusTimer_.setSingleShot(true);
    QObject::connect(&statusTimer_, &QTimer::timeout, &form_, [this] { flushStatus(); });
}

void WindowBinding::refreshTexts() {
    period_ = form_.controls().ctlVitesse->currentText().toStdString();
    axis_ = form_.controls().ctlAxetemps->currentText().toStdString();
}

std::string WindowBinding::fileName() {
    return QFile::encodeName(form_.controls().ctlNomdefichier->text()).toStdString();
}

std::string WindowBinding::periodText() {
    return period_;
}

std::string WindowBinding::axisText() {
    return axis_;
}

int WindowBinding::simulation() {
    return form_.controls().Simu->isChecked() ? 1 : 0;
}

bool WindowBinding::stopEnabled() {
    return form_.controls().btnSTOP->isEnabled();
}

void WindowBinding::setStatus(const std::string& text) {
    pendingStatus_ = text;
    statusPending_ = true;
    if (statusTimer_.isActive()) {
        return;
    }
    // Never shown from here: the repaint would land in the pump at the top of the next cycle,
    // before its deadline is set, and lengthen the interval. A short delay puts it inside
    // the wait instead.
    const qint64 since =
        sinceStatusShown_.isValid() ? sinceStatusShown_.elapsed() : kStatusIntervalMs;
    statusTimer_.start(
        static_cast<int>(std::max<qint64>(kRepaintDelayMs, kStatusIntervalMs - since)));
}

void WindowBinding::flushStatus() {
    statusTimer_.stop();
    if (!statusPending_) {
        return;
    }
    statusPending_ = false;
    form_.controls().ctl->setText(QString::fromStdString(pendingStatus_));
    sinceStatusShown_.restart();
}

void WindowBinding::backToIdle() {
    form_.btnSTOP_Click();
}

bool WindowBinding::windowClosing() {
    return form_.closingDuringRun();
}

void WindowBinding::chartReset() {
    form_.InitCourbe();
}

std::int64_t WindowBinding::sweepStart() {
    return form_.T0Courbe();
}

void WindowBinding::segmentTo(float x, float y) {
    form_.chart().segmentTo(x, y);
}

} // namespace ombrelis::ui

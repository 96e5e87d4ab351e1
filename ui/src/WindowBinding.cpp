#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/WindowBinding.h>

namespace ombrelis::ui {

std::string WindowBinding::fileName() {
    return QFile::encodeName(form_.controls().ctlNomdefichier->text()).toStdString();
}

std::string WindowBinding::periodText() {
    return form_.controls().ctlVitesse->currentText().toStdString();
}

std::string WindowBinding::axisText() {
    return form_.controls().ctlAxetemps->currentText().toStdString();
}

int WindowBinding::simulation() {
    return form_.controls().Simu->isChecked() ? 1 : 0;
}

bool WindowBinding::stopEnabled() {
    return form_.controls().btnSTOP->isEnabled();
}

void WindowBinding::setStatus(const std::string& text) {
    form_.controls().ctl->setText(QString::fromStdString(text));
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

#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/WindowBinding.h>

namespace ombrelis::ui {

WindowBinding::WindowBinding(Form1& form)
    : form_(form), statusThrottle_([this] {
          form_.controls().ctl->setText(QString::fromStdString(pendingStatus_));
      }) {
    const Form1Controls& c = form_.controls();
    for (PickList* list : {c.ctlVitesse, c.ctlAxetemps}) {
        QObject::connect(list, &QComboBox::currentTextChanged, &form_, [this] { refreshTexts(); });
        QObject::connect(list, &QComboBox::editTextChanged, &form_, [this] { refreshTexts(); });
    }
    refreshTexts();
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
    statusThrottle_.changed();
}

void WindowBinding::flushStatus() {
    statusThrottle_.pushNow();
}

void WindowBinding::backToIdle() {
    form_.btnSTOP_Click();
}

bool WindowBinding::windowClosing() {
    return form_.closingDuringRun();
}

} // namespace ombrelis::ui

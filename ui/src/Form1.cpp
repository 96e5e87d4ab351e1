#include <QCloseEvent>
#include <QCoreApplication>
#include <QPushButton>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/PickList.h>

namespace ombrelis::ui {

Form1::Form1(Form1Services services, QWidget* parent)
    : QWidget(parent), services_(services), c_(buildForm1Controls(*this)),
      convertisseur_(services.port, services.delay), simulateur_(services.random), binding_(*this),
      run_(binding_, *c_.ctlCourbe,
           engine::RunServices{services.clock, services.pump, services.messages, services.files,
                               services.calendar, convertisseur_, simulateur_,
                               services.threadPriority}) {
    connect(c_.btnGO, &QPushButton::clicked, this, &Form1::btnGO_Click);
    connect(c_.btnSTOP, &QPushButton::clicked, this, &Form1::btnSTOP_Click);
    connect(c_.Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(c_.ctlAxetemps, &PickList::clicked, this, &Form1::ctlAxetemps_Click);
    connect(c_.ctlVitesse, &PickList::clicked, this, &Form1::ctlVitesse_Click);
}

Form1::~Form1() = default;

void Form1::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    fitStatusLineToWindow(c_, width());
    Form_Resize();
}

void Form1::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // A minimise and the restore after it leave the size alone, so Qt sends no resize for
    // them; they are resizes of the window all the same.
    if (event->type() == QEvent::WindowStateChange) {
        const auto before = static_cast<QWindowStateChangeEvent*>(event)->oldState();
        if ((before ^ windowState()) & Qt::WindowMinimized) {
            Form_Resize();
        }
    }
}

void Form1::closeEvent(QCloseEvent* event) {
    if (runsInProgress_ == 0) {
        QWidget::closeEvent(event);
        return;
    }
    // Hiding the window would leave the run logging unseen. The run ends after the pump in
    // which it learns of this, closing its file; the outermost GO click then closes the window.
    closing_ = true;
    c_.btnSTOP->setEnabled(false);
    c_.btnGO->setEnabled(false);
    event->ignore();
}

void Form1::windowDestroyed() {
    // Nothing is left on screen to close, so the program ends: at once when idle, after the
    // run has closed its file otherwise, as a close during a run does.
    if (close()) {
        QCoreApplication::quit();
    }
}

} // namespace ombrelis::ui

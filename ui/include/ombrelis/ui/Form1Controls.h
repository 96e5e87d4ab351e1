#pragma once

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace ombrelis::ui {

class ChartWidget;
class LineItem;
class PickList;

/// The controls of the main window, by their names. The window owns them.
struct Form1Controls {
    QCheckBox* Simu = nullptr;
    PickList* ctlAxetemps = nullptr;
    ChartWidget* ctlCourbe = nullptr;
    QGroupBox* Frame1 = nullptr;
    QLineEdit* ctlDat = nullptr;
    PickList* ctlVitesse = nullptr;
    QLineEdit* ctlNomdefichier = nullptr;
    QPushButton* Command1 = nullptr;
    QPushButton* btnGO = nullptr;
    QPushButton* btnSTOP = nullptr;
    QLabel* Label2 = nullptr;
    QLabel* Label3 = nullptr;
    QLabel* Label4 = nullptr;
    QLabel* ctl = nullptr;
    QLabel* Label7 = nullptr;
    QLabel* Label6 = nullptr;
    LineItem* Line2 = nullptr;
    LineItem* Line1 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label1 = nullptr;
};

/// Gives `window` its caption, font and size at creation, and creates its controls in it with
/// their captions, positions, sizes, fonts, colours, list contents, initial states and tab
/// order.
Form1Controls buildForm1Controls(QWidget& window);

/// Makes the status line reach the right edge of a client area `clientWidth` pixels wide,
/// never narrower than designed: a line with long figures shows whole once the window is wide
/// enough.
void fitStatusLineToWindow(const Form1Controls& controls, int clientWidth);

} // namespace ombrelis::ui

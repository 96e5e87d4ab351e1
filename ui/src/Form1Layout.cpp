#include <QCheckBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <cmath>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/Form1Accessibility.h>
#include <ombrelis/ui/Form1Controls.h>
#include <ombrelis/ui/LineItem.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/ShippedResources.h>
#include <ombrelis/ui/StatusLineAccessible.h>
#include <ombrelis/ui/Twips.h>

namespace ombrelis::ui {

namespace {

constexpr int kStatusLeft = 2280;
constexpr int kStatusWidth = 5535;

/// Whole pixels from a one-line text's origin to the end of its last character's advance.
int textWidth(const QFont& font, const QString& text) {
    return static_cast<int>(std::ceil(QFontMetricsF(font).horizontalAdvance(text)));
}

void setTextColour(QWidget& widget, const QColor& colour) {
    QPalette palette = widget.palette();
    palette.setColor(QPalette::WindowText, colour);
    palette.setColor(QPalette::Text, colour);
    palette.setColor(QPalette::ButtonText, colour);
    widget.setPalette(palette);
}

template <typename W>
W* place(W* widget, const char* name, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(name));
    widget->setGeometry(twipsRect(left, top, width, height));
    return widget;
}

enum class Backing { Transparent, Opaque };

QLabel* label(QWidget& in, const char* name, const char* caption, int left, int top, int width,
              int height, Backing backing = Backing::Transparent) {
    auto* l = place(new QLabel(QString::fromUtf8(caption), &in), name, left, top, width, height);
    l->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // An opaque label, in the window's colour, hides the part of a line that passes under it.
    l->setAutoFillBackground(backing == Backing::Opaque);
    // The built-in face is wider than the designed one for some captions: they are shown
    // whole, the label growing to the right as far as its characters' advances reach.
    if (const int needed = textWidth(l->font(), l->text()); needed > l->width()) {
        l->resize(needed, l->height());
    }
    return l;
}

} // namespace

Form1Controls buildForm1Controls(QWidget& window) {
    installAccessibleRoles();
    window.setWindowTitle(QStringLiteral("Ombrelis V1.1"));
    // The design's dialog font: every control without a font of its own uses it, and the
    // designed sizes are made for it.
    window.setFont(dialogFont());
    window.resize(twipsToPixels(7905), twipsToPixels(7080));

    const QColor darkBlue(0, 0, 192);
    const QColor red(255, 0, 0);
    Form1Controls c;

    // Stacking from the bottom: the lines, the labels, then the other controls, so that a
    // control covers a label or a line that it overlaps (ctlAxetemps covers Line1).
    c.Line2 = new LineItem(&window, 120, 2520, 120, 6960, red);
    c.Line2->setObjectName(QStringLiteral("Line2"));
    c.Line1 = new LineItem(&window, 240, 2400, 10680, 2400, QColor(0, 0, 255));
    c.Line1->setObjectName(QStringLiteral("Line1"));

    c.ctl = place(new StatusLabel(&window), "ctl", kStatusLeft, 2040, kStatusWidth, 255);
    c.ctl->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    fitStatusLineToWindow(c, window.width());
    setTextColour(*c.ctl, red);
    c.Label7 = label(window, "Label7", "0V", 0, 6720, 255, 255, Backing::Opaque);
    setTextColour(*c.Label7, red);
    c.Label6 = label(window, "Label6", "4 V", 0, 2520, 255, 255, Backing::Opaque);
    setTextColour(*c.Label6, red);
    c.Label5 = label(window, "Label5", "Axe temps (sec)", 360, 2160, 1215, 255, Backing::Opaque);
    setTextColour(*c.Label5, darkBlue);
    c.Label1 = label(window, "Label1", "PROGRAMME D 'OMBRELIS DE DONNEES", 240, 120, 6315, 330);
    QFont title;
    title.setFamilies({QString::fromLatin1(kSerifFamily)});
    title.setPointSizeF(14.25);
    title.setBold(true);
    c.Label1->setFont(title);
    c.Label1->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    c.Label1->adjustSize();

    c.Simu =
        place(new QCheckBox(QStringLiteral("Simulation"), &window), "Simu", 6720, 480, 1095, 255);

    c.ctlAxetemps = place(new PickList(&window), "ctlAxetemps", 1560, 2160, 615, 315);
    c.ctlAxetemps->addItems({"30", "60", "90", "120", "150", "180"});
    // Created with no entry selected and its designed text in the field.
    c.ctlAxetemps->setCurrentIndex(-1);
    c.ctlAxetemps->setEditText(QStringLiteral("Combo1"));
    setTextColour(*c.ctlAxetemps, darkBlue);

    // One pixel right of its designed Left of 240: "4 V" beside it is one pixel wider than the
    // 16 pixels left free in the built-in face, and would lose the end of its V under it.
    c.ctlCourbe = place(new ChartWidget(&window), "ctlCourbe", 255, 2520, 14415, 4455);
    c.ctlCourbe->setFocusPolicy(Qt::StrongFocus);

    c.Frame1 = place(new QGroupBox(&window), "Frame1", 240, 960, 7575, 975);
    QGroupBox& frame = *c.Frame1;
    c.Label2 = label(frame, "Label2", "Date (jjmmaa)", 120, 240, 975, 255);
    c.Label3 = label(frame, "Label3", "Vitesse (ms)", 1440, 240, 975, 255);
    c.Label4 = label(frame, "Label4", "Fichier", 2640, 240, 975, 255);
    c.ctlDat = place(new QLineEdit(QStringLiteral("Text1"), &frame), "ctlDat", 120, 480, 1095, 285);
    c.ctlDat->setFont(dialogFont(true));
    c.ctlVitesse = place(new PickList(&frame), "ctlVitesse", 1440, 480, 1095, 315);
    c.ctlVitesse->setFont(dialogFont(true));
    c.ctlNomdefichier = place(new QLineEdit(&frame), "ctlNomdefichier", 2640, 480, 2535, 285);
    c.Command1 =
        place(new QPushButton(QStringLiteral("..."), &frame), "Command1", 5160, 480, 375, 255);
    c.Command1->setFont(dialogFont(true));
    c.btnGO = place(new QPushButton(QStringLiteral("GO !"), &frame), "btnGO", 5640, 360, 855, 375);
    c.btnSTOP =
        place(new QPushButton(QStringLiteral("STOP"), &frame), "btnSTOP", 6600, 360, 855, 375);
    c.btnSTOP->setEnabled(false);

    // Labels, the frame and the lines take no focus; a disabled control is skipped, so the
    // focus starts on GO.
    QWidget* const tabOrder[] = {c.btnSTOP,         c.btnGO,       c.Command1,
                                 c.ctlNomdefichier, c.ctlVitesse,  c.ctlDat,
                                 c.ctlCourbe,       c.ctlAxetemps, c.Simu};
    for (std::size_t i = 1; i < std::size(tabOrder); ++i) {
        QWidget::setTabOrder(tabOrder[i - 1], tabOrder[i]);
    }
    c.btnGO->setFocus();
    makeForm1Accessible(c);
    return c;
}

void fitStatusLineToWindow(const Form1Controls& controls, int clientWidth) {
    const int left = twipsToPixels(kStatusLeft);
    controls.ctl->resize(std::max(twipsToPixels(kStatusWidth), clientWidth - left),
                         controls.ctl->height());
}

} // namespace ombrelis::ui

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/Form1Accessibility.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/StatusLineAccessible.h>

namespace ombrelis::ui {

void makeForm1Accessible(const Form1Controls& c) {
    const auto name = [](QWidget* control, const char* text) {
        control->setAccessibleName(QString::fromUtf8(text));
    };
    // The captions as the screen reader says them: a field is announced with the label above it.
    name(c.ctlDat, "Date (jjmmaa)");
    name(c.ctlVitesse, "Vitesse (ms)");
    name(c.ctlNomdefichier, "Fichier");
    name(c.ctlAxetemps, "Axe temps (sec)");
    c.Label2->setBuddy(c.ctlDat);
    c.Label3->setBuddy(c.ctlVitesse);
    c.Label4->setBuddy(c.ctlNomdefichier);
    c.Label5->setBuddy(c.ctlAxetemps);
    name(c.Command1, "Choisir le fichier…");
    name(c.btnGO, "GO !");
    name(c.btnSTOP, "STOP");
    name(c.Simu, "Simulation");
    name(c.ctlCourbe, "Courbe");
    c.ctlCourbe->setAccessibleDescription(
        QStringLiteral("La tension mesurée, de 0 à 4 V, en fonction du temps"));
    name(c.ctl, kStatusLineName);
    c.ctl->setAccessibleDescription(QStringLiteral(
        "La dernière mesure : son numéro, le temps écoulé, la valeur et l'intervalle"));
    name(c.Frame1, "Mesure");
    // A button of a window, unlike one of a dialog, takes only Space; Enter is as natural.
    for (QPushButton* button : {c.Command1, c.btnGO, c.btnSTOP}) {
        button->setAutoDefault(true);
    }
}

} // namespace ombrelis::ui

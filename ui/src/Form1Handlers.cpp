#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>
#include <ombrelis/engine/AppInfo.h>
#include <ombrelis/engine/FileNameCheck.h>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/LineItem.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/QtMessageBoxes.h>
#include <ombrelis/ui/Twips.h>

namespace ombrelis::ui {

namespace {

constexpr const char* kTitle =
    "PROGRAMME D'OMBRELIS DE DONNEES\r\npar le port parallele avec un max 187";
constexpr const char* kNoFileName = "Fichier non renseigné";
constexpr const char* kSaveTitle = "Entegistrer sous ...";
constexpr const char* kSaveFilter = "Fichiers (*.*)|*.*";
// The chart stands one pixel right of its designed place so that the whole "4 V" shows beside
// it; it gives that pixel back on the right, so its right edge stays where it was designed.
constexpr int kChartMarginTwips = 300 + 15;

/// Restores the count of runs in progress however the run leaves.
class RunInProgress {
public:
    explicit RunInProgress(int& count) : count_(count) { ++count_; }
    ~RunInProgress() { --count_; }
    RunInProgress(const RunInProgress&) = delete;
    RunInProgress& operator=(const RunInProgress&) = delete;

private:
    int& count_;
};

} // namespace

void Form1::Form_Load() {
    c_.Label1->setText(displayText(kTitle));
    c_.Label1->adjustSize();

    const platform::Date today = services_.calendar.today();
    c_.ctlDat->setText(QString::asprintf("%02d%02d%02d", today.day, today.month, today.year % 100));

    for (int period = 0; period <= 10000; period += 100) {
        c_.ctlVitesse->addItem(QString::number(period));
    }

    c_.ctlAxetemps->setListIndex(3);
    c_.ctlVitesse->setListIndex(0);
}

void Form1::Form_Resize() {
    const float outerWidth = static_cast<float>(pixelsToTwips(frameGeometry().width()));
    const float chartWidth = outerWidth - static_cast<float>(kChartMarginTwips);
    // Window borders never allow a window that narrow, but a chart cannot be narrower than 0.
    c_.ctlCourbe->resize(std::max(0, twipsToPixels(chartWidth)), c_.ctlCourbe->height());
    c_.Line1->setX2(pixelsToTwips(c_.ctlCourbe->width()));
    resetChartFromHandler();
}

void Form1::btnGO_Click() {
    if (closing_) {
        return;
    }
    const QString name = c_.ctlNomdefichier->text();
    if (name.isEmpty()) {
        services_.messages.inform(kApplicationTitle, kNoFileName);
        return;
    }
    if (const auto problem = engine::fileNameProblem(name.toStdString())) {
        services_.messages.inform(kApplicationTitle, *problem);
        return;
    }
    c_.btnGO->setEnabled(false);
    c_.btnSTOP->setEnabled(true);
    {
        RunInProgress inProgress(runsInProgress_);
        run_.MainLoop();
    }
    // What the run drew and wrote last is on screen before anything else happens.
    binding_.flushStatus();
    c_.ctlCourbe->flushNow();
    if (closing_ && runsInProgress_ == 0) {
        // The user closed the window during the run: its file is closed, so now the window
        // closes for good, and with it the program.
        close();
        QCoreApplication::quit();
    }
}

void Form1::btnSTOP_Click() {
    c_.btnGO->setEnabled(true);
    c_.btnSTOP->setEnabled(false);
}

void Form1::Command1_Click() {
    try {
        const auto chosen = services_.saveDialog.askSaveName(this, kSaveTitle, kSaveFilter);
        if (chosen) {
            c_.ctlNomdefichier->setText(QFile::decodeName(chosen->c_str()));
        }
    } catch (const std::exception&) {
        // A dialog that cannot be shown ends the handler as quietly as a cancel: the field
        // keeps its text, and the user can type the name.
    }
}

void Form1::ctlAxetemps_Click() {
    resetChartFromHandler();
}

void Form1::ctlVitesse_Click() {
    resetChartFromHandler();
}

void Form1::resetChartFromHandler() {
    try {
        run_.InitCourbe();
    } catch (const std::exception& failure) {
        services_.messages.reportError(
            kApplicationTitle,
            std::string("Le graphique n'a pas pu être effacé ni mis à l'échelle de l'axe des "
                        "temps.\n") +
                failure.what());
    }
}

} // namespace ombrelis::ui

#include "WindowFixture.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/LineItem.h>
#include <ombrelis/ui/PickList.h>

namespace ombrelis::testing {
namespace {

using HandlersTest = WindowTest;

// Outside a run, nothing but a chart reset reads the clock: each read is one reset.
TEST_F(HandlersTest, LoadSetsTitleListsAndResetsTheChartTwice) {
    createWindow();
    form->Form_Load();
    // Whole on its two lines: the text-fit tests.
    EXPECT_EQ(control<QLabel>("Label1").text(),
              "PROGRAMME D'OMBRELIS DE DONNEES\npar le port parallele avec un max 187");

    auto& period = control<ui::PickList>("ctlVitesse");
    ASSERT_EQ(period.count(), 101);
    for (int i = 0; i < period.count(); ++i) {
        ASSERT_EQ(period.itemText(i), QString::number(i * 100));
    }
    EXPECT_EQ(period.currentText(), "0");
    EXPECT_EQ(control<ui::PickList>("ctlAxetemps").currentText(), "120");
    EXPECT_EQ(control<ui::PickList>("ctlAxetemps").currentIndex(), 3);

    EXPECT_EQ(clock.reads(), 2);
    EXPECT_EQ(form->T0Courbe(), clock.peek());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HandlersTest, DateFieldIsDayMonthYearInTwoDigitsEach) {
    struct Case {
        platform::Date date;
        const char* text;
    };
    for (const Case& c : {Case{{7, 3, 2009}, "070309"}, Case{{31, 12, 1999}, "311299"},
                          Case{{1, 1, 2000}, "010100"}, Case{{29, 2, 2024}, "290224"}}) {
        calendar.date = c.date;
        createWindow();
        EXPECT_EQ(control<QLineEdit>("ctlDat").text(), "Text1");
        form->Form_Load();
        EXPECT_EQ(control<QLineEdit>("ctlDat").text(), c.text);
    }
}

TEST_F(HandlersTest, TheFirstShowingAndEveryResizeFitTheChartToTheWindowAndResetIt) {
    startWindow();
    auto& chart = control<ui::ChartWidget>("ctlCourbe");
    auto& line = control<ui::LineItem>("Line1");
    EXPECT_EQ(clock.reads(), 3) << "two resets at load, one at the first showing";
    EXPECT_EQ(chart.geometry().topLeft(), QPoint(255 / 15, 2520 / 15));
    EXPECT_EQ(chart.height(), 4455 / 15);
    EXPECT_EQ(line.x1(), 240);
    EXPECT_EQ(line.y2(), 2400);
    struct Step {
        const char* what;
        std::function<void()> act;
    };
    const Step steps[] = {
        {"first showing", [] {}},
        {"wider", [&] { form->resize(800, 500); }},
        {"narrower", [&] { form->resize(300, 400); }},
        {"minimised", [&] { form->setWindowState(Qt::WindowMinimized); }},
        {"restored", [&] { form->setWindowState(Qt::WindowNoState); }},
        {"maximised", [&] { form->setWindowState(Qt::WindowMaximized); }},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        step.act();
        QCoreApplication::processEvents();
        EXPECT_EQ(form->T0Courbe(), clock.peek()) << "chart reset";
        EXPECT_EQ(chart.width() * 15, form->frameGeometry().width() * 15 - 315);
        EXPECT_EQ(line.x2(), chart.width() * 15);
        clock.advance(100);
    }
}

/// A name GO refuses before anything is touched, and what the user is told.
struct RefusedName {
    const char* name;
    const char* field;
    const char* told;
};

class GoRefusesTheName : public WindowTest, public ::testing::WithParamInterface<RefusedName> {};

TEST_P(GoRefusesTheName, SaysWhyAndStaysIdle) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path())); // where a wrongly accepted name would land
    startWindow();
    control<QLineEdit>("ctlNomdefichier").setText(QString::fromUtf8(GetParam().field));
    auto& go = control<QPushButton>("btnGO");
    go.click();
    go.click();
    QDir::setCurrent(before);
    ASSERT_EQ(messages.shown.size(), 2U);
    for (const ShownBox& box : messages.shown) {
        EXPECT_EQ(box.kind, "info");
        EXPECT_EQ(box.title, "Ombrelis");
        EXPECT_NE(box.text.find(GetParam().told), std::string::npos) << box.text;
    }
    EXPECT_TRUE(go.isEnabled());
    EXPECT_FALSE(control<QPushButton>("btnSTOP").isEnabled());
    EXPECT_EQ(pump.pumps(), 0) << "no run";
    EXPECT_TRUE(QDir(folder.path()).isEmpty()) << "a file was created";
}

INSTANTIATE_TEST_SUITE_P(
    Names, GoRefusesTheName,
    ::testing::Values(
        RefusedName{"empty", "", "Fichier non renseigné"},
        RefusedName{"pasted_line_feed", "relevé.dat\n", "saut de ligne (U+000A) en position 11"},
        RefusedName{"carriage_return", "ab\rcd.dat", "retour chariot (U+000D) en position 3"},
        RefusedName{"tab", "\tmesures.dat", "tabulation (U+0009) en position 1"},
        RefusedName{"unit_separator", "a\x1f", "un caractère de contrôle (U+001F)"},
        RefusedName{"delete", "a\x7f", "effacement (DEL) (U+007F)"}),
    NamedAfterName{});

TEST_F(HandlersTest, GoWithABlankNameStartsARun) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(folder.path()));
    startWindow();
    control<QLineEdit>("ctlNomdefichier").setText(" ");
    control<QCheckBox>("Simu").setChecked(true);
    bool runningInPump = false;
    pump.at(1, [&] {
        runningInPump = !control<QPushButton>("btnGO").isEnabled() &&
                        control<QPushButton>("btnSTOP").isEnabled();
        control<QPushButton>("btnSTOP").click();
    });
    control<QPushButton>("btnGO").click();
    QDir::setCurrent(before);
    EXPECT_TRUE(runningInPump);
    EXPECT_EQ(readLog(pathIn(" ")).size(), 1U);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(HandlersTest, SaveDialogFillsTheFileNameOrChangesNothing) {
    startWindow();
    auto& name = control<QLineEdit>("ctlNomdefichier");
    auto& button = control<QPushButton>("Command1");
    name.setText("typed.log");

    saveDialog.answer = std::nullopt; // cancel
    button.click();
    EXPECT_EQ(name.text(), "typed.log");

    saveDialog.fails = true;
    button.click();
    EXPECT_EQ(name.text(), "typed.log");
    saveDialog.fails = false;

    saveDialog.answer = pathIn("mesures.dat");
    button.click();
    EXPECT_EQ(name.text().toStdString(), pathIn("mesures.dat"));
    EXPECT_FALSE(std::filesystem::exists(pathIn("mesures.dat"))) << "the run creates the file";

    EXPECT_EQ(saveDialog.calls, 3);
    EXPECT_EQ(saveDialog.lastTitle, "Entegistrer sous ...");
    EXPECT_EQ(saveDialog.lastFilter, "Fichiers (*.*)|*.*");
    EXPECT_EQ(saveDialog.lastParent, form.get());
    EXPECT_TRUE(messages.shown.empty());
}

class ListClickTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        startWindow();
        QApplication::setActiveWindow(form.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    /// True when `act` reset the chart.
    bool resets(const std::function<void()>& act) {
        clock.advance(10);
        const int readsBefore = clock.reads();
        act();
        QCoreApplication::processEvents();
        return clock.reads() != readsBefore;
    }
    void typeInto(ui::PickList& list, const QString& text) {
        list.lineEdit()->setFocus();
        list.lineEdit()->selectAll();
        QTest::keyClicks(list.lineEdit(), text);
    }
};

TEST_F(ListClickTest, TypingInTheFieldIsNoPick) {
    for (const char* name : {"ctlAxetemps", "ctlVitesse"}) {
        SCOPED_TRACE(name);
        auto& list = control<ui::PickList>(name);
        const int entries = list.count();
        for (const QString typed : {"45", "60", "1", "100"}) {
            SCOPED_TRACE(typed.toStdString());
            EXPECT_FALSE(resets([&] { typeInto(list, typed); })) << "typing";
            EXPECT_FALSE(resets([&] { QTest::keyClick(list.lineEdit(), Qt::Key_Return); }))
                << "Enter";
            EXPECT_FALSE(resets([&] { control<QLineEdit>("ctlNomdefichier").setFocus(); }))
                << "leaving the field";
            EXPECT_EQ(list.currentText(), typed) << "the text stays as typed";
            EXPECT_EQ(list.count(), entries) << "nothing added";
        }
    }
}

TEST_F(ListClickTest, PicksByKeyboardMouseOrCodeResetTheChart) {
    auto& axis = control<ui::PickList>("ctlAxetemps");
    EXPECT_TRUE(resets([&] { QTest::keyClick(&axis, Qt::Key_Down); }));
    EXPECT_EQ(axis.currentText(), "150");
    EXPECT_TRUE(resets([&] { QTest::keyClick(&axis, Qt::Key_Up); }));
    EXPECT_EQ(axis.currentText(), "120");

    // The same entry again, from the drop-down: by keyboard, then by mouse.
    EXPECT_TRUE(resets([&] {
        axis.showPopup();
        QTest::keyClick(axis.view(), Qt::Key_Return);
    }));
    EXPECT_FALSE(axis.view()->isVisible());
    EXPECT_TRUE(resets([&] {
        axis.showPopup();
        // The drop-down ignores a release that comes as quickly as a double click: the one
        // of the click that opened it.
        QTest::qWait(QApplication::doubleClickInterval() + 100);
        QAbstractItemView* view = axis.view();
        const QPoint at(view->viewport()->width() / 2,
                        view->visualRect(view->model()->index(3, 0)).center().y());
        QTest::mouseMove(view->viewport(), at);
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, at);
    }));
    EXPECT_EQ(axis.currentText(), "120");

    // A pick after typing puts the entry's text back into the field.
    typeInto(axis, "45");
    EXPECT_TRUE(resets([&] {
        axis.showPopup();
        QTest::keyClick(axis.view(), Qt::Key_Return);
    }));
    EXPECT_EQ(axis.currentText(), "120");

    EXPECT_TRUE(resets([&] { control<ui::PickList>("ctlVitesse").setListIndex(5); }));
    EXPECT_EQ(control<ui::PickList>("ctlVitesse").currentText(), "500");
}

TEST_F(ListClickTest, AResetThatFailsIsToldAndTheWindowGoesOn) {
    auto& axis = control<ui::PickList>("ctlAxetemps");
    typeInto(axis, "1e400");
    const std::int64_t before = form->T0Courbe();
    control<ui::PickList>("ctlVitesse").setListIndex(1);
    form->resize(700, 480);
    QCoreApplication::processEvents();

    ASSERT_EQ(messages.shown.size(), 2U) << "one box per failed reset";
    for (const ShownBox& box : messages.shown) {
        EXPECT_EQ(box.kind, "error");
        EXPECT_EQ(box.title, "Ombrelis");
        EXPECT_NE(box.text.find("graphique"), std::string::npos) << box.text;
        EXPECT_NE(box.text.find("1e400"), std::string::npos) << box.text;
    }
    EXPECT_EQ(form->T0Courbe(), before);
    EXPECT_TRUE(control<QPushButton>("btnGO").isEnabled());

    EXPECT_TRUE(resets([&] { QTest::keyClick(&axis, Qt::Key_Down); }));
    EXPECT_EQ(messages.shown.size(), 2U);
}

} // namespace
} // namespace ombrelis::testing

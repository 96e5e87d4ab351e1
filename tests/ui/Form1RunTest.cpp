#include "WindowFixture.h"

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <array>
#include <cstdint>
#include <ombrelis/engine/ValueSources.h>
#include <ombrelis/ui/ChartWidget.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/QtEventPump.h>

namespace ombrelis::testing {
namespace {

class RunTest : public WindowTest {
protected:
    void SetUp() override {
        WindowTest::SetUp();
        random.values = {0.0f, 0.25f, 0.5f, 0.75f, 0.999f, 0.1f, 0.2f, 0.3f, 0.4f};
    }
    /// A started window ready for a simulated run into `log`, at `period` ms.
    void prepare(const char* period) {
        control<QLineEdit>("ctlNomdefichier").setText(QString::fromStdString(log));
        control<QCheckBox>("Simu").setChecked(true);
        control<ui::PickList>("ctlVitesse").setEditText(QString::fromLatin1(period));
    }
    QPushButton& go() { return control<QPushButton>("btnGO"); }
    /// GO clicked from the event loop, as a user does; the program's exit code, 99 when it did
    /// not end.
    int goAndRunTheProgram() {
        QTimer::singleShot(0, form.get(), [this] { go().click(); });
        QTimer::singleShot(60000, [] { QCoreApplication::exit(99); });
        return QCoreApplication::exec();
    }
    QPushButton& stop() { return control<QPushButton>("btnSTOP"); }

    std::string log = pathIn("mesures.dat");
};

// With the fake pump, each cycle pumps twice: once at its top, once while it waits for the
// period (the wait moves the clock to the deadline). Pump 2k - 1 is the top of cycle k.
TEST_F(RunTest, SimulatedRunFromGoToStopWritesEveryRecord) {
    startWindow();
    prepare("1000");
    bool runningInside = false;
    pump.at(9, [&] { // top of cycle 5: its wait then ends the run at once, without sample 5
        runningInside = !go().isEnabled() && stop().isEnabled();
        stop().click();
        EXPECT_TRUE(go().isEnabled()) << "STOP acts at once";
    });
    go().click();

    EXPECT_TRUE(runningInside);
    EXPECT_TRUE(go().isEnabled());
    EXPECT_FALSE(stop().isEnabled());
    const auto records = readLog(log);
    ASSERT_EQ(records.size(), 4U);
    const float draws[] = {0.0f, 0.25f, 0.5f, 0.75f};
    for (std::size_t i = 0; i < records.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(records[i].Valeur,
                  static_cast<std::int16_t>(engine::Simulateur::valueFor(draws[i])));
        EXPECT_EQ(std::string(records[i].Heure.begin(), records[i].Heure.end()), "14:05:09");
        EXPECT_EQ(records[i].TempsMs, static_cast<std::int32_t>(1000 * i));
    }
    EXPECT_EQ(control<QLabel>("ctl").text().toStdString(),
              "Mesure : 4     T - T0 : 3000 ms     Valeur : " + std::to_string(records[3].Valeur) +
                  "   Frq réelle : 1000");
    EXPECT_GT(traceColourPixels(control<ui::ChartWidget>("ctlCourbe").image()), 0)
        << "the samples are drawn";
    EXPECT_EQ(port.operations.size(), 0U) << "a simulated run never touches the port";
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RunTest, RunOnQtsEventLoopStopsOnAStopClick) {
    platform::SteadyClock steady;
    ui::QtEventPump qtPump(steady);
    startWindow(&qtPump, &steady);
    prepare("5");
    // The click comes as a user's would: as an event, delivered inside one of the run's pumps.
    QTimer::singleShot(100, &stop(), [&] { QTest::mouseClick(&stop(), Qt::LeftButton); });
    go().click();

    EXPECT_TRUE(go().isEnabled());
    EXPECT_FALSE(stop().isEnabled());
    const auto records = readLog(log);
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().TempsMs, 0);
    for (std::size_t i = 0; i < records.size(); ++i) {
        EXPECT_GE(records[i].Valeur, 1024);
        EXPECT_LE(records[i].Valeur, 3071);
        if (i > 0) {
            EXPECT_GE(records[i].TempsMs, records[i - 1].TempsMs + 5) << "paced by the period";
        }
    }
    EXPECT_TRUE(control<QLabel>("ctl").text().startsWith(
        QStringLiteral("Mesure : %1     T - T0 : ").arg(records.size())));
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RunTest, ListPickDuringARunClearsTheChartAndTheRunGoesOn) {
    startWindow();
    prepare("1000");
    auto& axis = control<ui::PickList>("ctlAxetemps");
    auto& chart = control<ui::ChartWidget>("ctlCourbe");
    int traceBeforePick = 0;
    int traceAfterPick = -1;
    pump.at(6, [&] { // cycle 3, while it waits
        traceBeforePick = traceColourPixels(chart.image());
        clock.advance(300);
        QTest::keyClick(&axis, Qt::Key_Up);
        traceAfterPick = traceColourPixels(chart.image());
        EXPECT_EQ(form->T0Courbe(), clock.peek()) << "the sweep starts again";
    });
    pump.at(13, [&] { stop().click(); }); // top of cycle 7: six records
    go().click();

    EXPECT_EQ(axis.currentText(), "90");
    EXPECT_GT(traceBeforePick, 0);
    EXPECT_EQ(traceAfterPick, 0) << "the pick wiped the trace";
    EXPECT_GT(traceColourPixels(chart.image()), 0) << "drawing went on on the fresh chart";
    const auto records = readLog(log);
    ASSERT_EQ(records.size(), 6U);
    for (std::size_t i = 1; i < records.size(); ++i) {
        EXPECT_GT(records[i].TempsMs, records[i - 1].TempsMs);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RunTest, ClosingTheWindowDuringARunEndsItAndTheProgram) {
    startWindow();
    prepare("1000");
    bool stillShown = false;
    pump.at(5, [&] { // top of cycle 3
        form->close();
        stillShown = form->isVisible();
        EXPECT_FALSE(stop().isEnabled());
        EXPECT_FALSE(go().isEnabled());
    });
    EXPECT_EQ(goAndRunTheProgram(), 0);

    EXPECT_TRUE(stillShown) << "the window waits for the run to close its file";
    EXPECT_FALSE(form->isVisible());
    const auto records = readLog(log);
    ASSERT_EQ(records.size(), 2U);
    EXPECT_EQ(records[1].TempsMs, 1000);
    EXPECT_EQ(control<QLabel>("ctl").text().left(10), "Mesure : 2");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RunTest, ClosingTheWindowOnQtsEventLoopEndsTheRunAndTheProgram) {
    platform::SteadyClock steady;
    ui::QtEventPump qtPump(steady);
    startWindow(&qtPump, &steady);
    prepare("5");
    // As the close button of the title bar does: through the window system.
    QTimer::singleShot(100, form.get(), [&] { form->windowHandle()->close(); });
    EXPECT_EQ(goAndRunTheProgram(), 0);

    EXPECT_FALSE(form->isVisible());
    const auto records = readLog(log);
    ASSERT_FALSE(records.empty());
    EXPECT_TRUE(control<QLabel>("ctl").text().startsWith(
        QStringLiteral("Mesure : %1 ").arg(records.size())))
        << "every sample taken is in the file";
}

TEST_F(RunTest, DestroyedWindowEndsTheRunAndTheProgram) {
    startWindow();
    prepare("1000");
    pump.at(5, [&] { // top of cycle 3: X11's DestroyNotify (17), the window's id at byte 8
        std::array<std::uint32_t, 8> event{17, 0, std::uint32_t(form->internalWinId())};
        qintptr result = 0;
        QAbstractEventDispatcher::instance()->filterNativeEvent("xcb_generic_event_t", event.data(),
                                                                &result);
    });
    pump.at(20, [&] { // the run went on
        stop().click();
        QCoreApplication::exit(98);
    });
    EXPECT_EQ(goAndRunTheProgram(), 0);
    EXPECT_EQ(readLog(log).size(), 2U) << "whole records, none after the window was gone";
}

TEST_F(RunTest, ClosingDuringANestedRunWaitsForTheOutermostOne) {
    startWindow();
    prepare("1000");
    const std::string second = pathIn("second.dat");
    bool shownAfterInnerRun = false;
    pump.at(3, [&] { // top of the first run's cycle 2: STOP, then GO again inside the pump
        stop().click();
        control<QLineEdit>("ctlNomdefichier").setText(QString::fromStdString(second));
        go().click();
        shownAfterInnerRun = form->isVisible();
    });
    pump.at(6, [&] { form->close(); }); // top of the second run's cycle 2
    EXPECT_EQ(goAndRunTheProgram(), 0);

    EXPECT_TRUE(shownAfterInnerRun) << "the first run still held its file";
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(readLog(log).size(), 1U);
    EXPECT_EQ(readLog(second).size(), 1U);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(RunTest, ConverterRunReadsThePort) {
    startWindow();
    prepare("0");
    control<QCheckBox>("Simu").setChecked(false);
    port.input = 3210;
    pump.at(3, [&] { stop().click(); });
    go().click();
    const auto records = readLog(log);
    ASSERT_EQ(records.size(), 3U) << "no waits at period 0: one pump per cycle";
    for (const auto& record : records) {
        EXPECT_EQ(record.Valeur, 3210);
    }
    EXPECT_EQ(random.calls, 0);
}

TEST_F(RunTest, AFailedRunIsToldAndTheWindowGoesBackToIdle) {
    startWindow();
    log = folder.path().toStdString(); // a folder cannot take the records
    prepare("0");
    go().click();
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].kind, "error");
    EXPECT_EQ(messages.shown[0].title, "Ombrelis");
    EXPECT_NE(messages.shown[0].text.find(log), std::string::npos) << messages.shown[0].text;
    EXPECT_TRUE(go().isEnabled());
    EXPECT_FALSE(stop().isEnabled());
    EXPECT_EQ(pump.pumps(), 0);
}

} // namespace
} // namespace ombrelis::testing

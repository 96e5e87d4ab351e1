// A logout, kill or Ctrl+C ends the program as its close button does. Each case runs the real
// window in a forked child, so that a signal the program fails to catch ends that child, not
// the test; an alarm bounds it.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <filesystem>
#include <gtest/gtest.h>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/PosixFileSystem.h>
#include <ombrelis/platform/RandomSource.h>
#include <ombrelis/platform/ThreadPriority.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/ChildProcess.h>
#include <ombrelis/testing/FakeServices.h>
#include <ombrelis/testing/Max187Model.h>
#include <ombrelis/testing/TempDir.h>
#include <ombrelis/ui/Form1.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/QtEventPump.h>
#include <ombrelis/ui/QtMessageBoxes.h>
#include <ombrelis/ui/SaveDialog.h>
#include <ombrelis/ui/TerminationSignals.h>
#include <unistd.h>

namespace ombrelis::testing {
namespace {

struct EndCase {
    const char* name;
    int signalNumber;
    bool existingFile; ///< the overwrite question is up when the signal comes
};

class EndedBySignal : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndedBySignal, ClosesTheWindowAndTheLogAndExitsWithStatusZero) {
    const EndCase& c = GetParam();
    TempDir dir;
    const std::string name = dir / "mesures.dat";
    if (c.existingFile) {
        writeTextFile(name, "kept");
    }
    const std::string report = runInChild(ChildUser::Same, [&]() -> std::string {
        ::alarm(20);
        int argc = 1;
        char program[] = "ombrelis";
        char* argv[] = {program, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication application(argc, argv);
        platform::SteadyClock clock;
        ui::QtEventPump pump(clock);
        platform::LocalCalendar calendar;
        platform::FixedSeedRandom random;
        platform::PosixFileSystem files;
        FakeMicroDelay delay;
        Max187Model port{&delay};
        ui::QtMessageBoxes messages;
        ui::QtSaveDialog saveDialog(messages);
        platform::NormalPriority priority;
        ui::Form1 window(
            {clock, pump, calendar, random, files, port, delay, messages, saveDialog, priority});
        const ui::TerminationSignals endedBySystem(window);
        window.Form_Load();
        window.show();
        window.findChild<QLineEdit*>(QStringLiteral("ctlNomdefichier"))
            ->setText(QString::fromStdString(name));
        window.findChild<QCheckBox*>(QStringLiteral("Simu"))->setChecked(true);
        window.findChild<ui::PickList*>(QStringLiteral("ctlVitesse"))
            ->setEditText(QStringLiteral("10"));
        QTimer::singleShot(
            0, &window, [&] { window.findChild<QPushButton*>(QStringLiteral("btnGO"))->click(); });
        QTimer::singleShot(300, [&] { ::kill(::getpid(), c.signalNumber); });
        const int status = QApplication::exec();
        if (status != 0) {
            return "the event loop ended with status " + std::to_string(status);
        }
        if (window.isVisible()) {
            return "the window is still open";
        }
        return {};
    });
    EXPECT_EQ(report, "");
    const auto bytes = fileBytes(name);
    if (c.existingFile) {
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "kept") << "answered for the user";
    } else {
        EXPECT_GT(bytes.size(), 0U);
        EXPECT_EQ(bytes.size() % 14, 0U) << "a record cut short";
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignal,
                         ::testing::Values(EndCase{"term_during_a_run", SIGTERM, false},
                                           EndCase{"hangup_during_a_run", SIGHUP, false},
                                           EndCase{"interrupt_during_a_run", SIGINT, false},
                                           EndCase{"term_during_the_question", SIGTERM, true}),
                         NamedAfterName{});

} // namespace
} // namespace ombrelis::testing

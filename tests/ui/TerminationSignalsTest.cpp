// Each case runs the real window in a forked child, so that a signal the program fails to catch
// ends that child and not the test; an alarm bounds it.
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <ombrelis/app/Program.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/ChildProcess.h>
#include <ombrelis/testing/TempDir.h>
#include <ombrelis/ui/PickList.h>
#include <unistd.h>

namespace ombrelis::testing {
namespace {

struct EndCase {
    const char* name;
    int signalNumber;
    const char* existing; ///< the log's former content, asked about when the signal comes
};

class EndedBySignal : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndedBySignal, ClosesTheLogAndTheWindowWithStatusZero) {
    const EndCase& c = GetParam();
    TempDir dir;
    const std::string name = dir / "mesures.dat";
    if (c.existing != nullptr) {
        writeTextFile(name, c.existing);
    }
    const auto startedAndSignalled = [&]() -> std::string {
        ::alarm(20);
        int argc = 1;
        char arg0[] = "ombrelis", *argv[] = {arg0, nullptr};
        qputenv("QT_QPA_PLATFORM", "offscreen");
        app::Program::prepareProcess();
        QApplication application(argc, argv);
        app::Program program(application);
        ui::Form1& window = program.window();
        window.findChild<QLineEdit*>("ctlNomdefichier")->setText(QString::fromStdString(name));
        window.findChild<QCheckBox*>("Simu")->setChecked(true);
        window.findChild<ui::PickList*>("ctlVitesse")->setEditText("10");
        QTimer::singleShot(0, window.findChild<QPushButton*>("btnGO"), &QPushButton::click);
        QTimer::singleShot(300, [&] { ::kill(::getpid(), c.signalNumber); });
        const int status = QApplication::exec();
        return status != 0 || window.isVisible() ? "ended with status " + std::to_string(status)
                                                 : "";
    };
    EXPECT_EQ(runInChild(ChildUser::Same, startedAndSignalled), "");
    const auto bytes = fileBytes(name);
    if (c.existing != nullptr) {
        EXPECT_EQ(std::string(bytes.begin(), bytes.end()), c.existing) << "answered for the user";
    } else {
        EXPECT_TRUE(!bytes.empty() && bytes.size() % 14 == 0) << bytes.size() << " bytes";
    }
}

INSTANTIATE_TEST_SUITE_P(Signals, EndedBySignal,
                         ::testing::Values(EndCase{"term_during_a_run", SIGTERM, nullptr},
                                           EndCase{"hangup_during_a_run", SIGHUP, nullptr},
                                           EndCase{"interrupt_during_a_run", SIGINT, nullptr},
                                           EndCase{"term_during_the_question", SIGTERM, "kept"}),
                         NamedAfterName{});

} // namespace
} // namespace ombrelis::testing

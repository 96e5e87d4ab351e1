// The whole program on the stand-in: the window over the real services, as main() wires them,
// Simulation off, so every sample goes through the ppdev backend and the stand-in's converter.
// Only the message boxes and the Save dialog are fakes, so that nothing waits for a person.

#include "../ui/WindowFixture.h"
#include "ScopedVariable.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cmath>
#include <numbers>
#include <ombrelis/platform/Calendar.h>
#include <ombrelis/platform/Clock.h>
#include <ombrelis/platform/MicroDelay.h>
#include <ombrelis/platform/PortIo.h>
#include <ombrelis/testing/LogContents.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/QtEventPump.h>

namespace ombrelis::testing {
namespace {

class StandinWindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        form = std::make_unique<ui::Form1>(ui::Form1Services{clock, pump, calendar, random, files,
                                                             port, delay, messages, saveDialog});
        form->Form_Load();
        form->show();
    }

    /// A run on the converter into `name`, at 10 ms, stopped by STOP after `ms` unless it
    /// ends before; its records.
    std::vector<engine::MesureRec> runFor(int ms, const char* name) {
        const std::string path = folder.filePath(QString::fromLatin1(name)).toStdString();
        controls().ctlNomdefichier->setText(QString::fromStdString(path));
        controls().Simu->setChecked(false);
        controls().ctlVitesse->setEditText(QStringLiteral("10"));
        QTimer::singleShot(ms, controls().btnSTOP, [this] { controls().btnSTOP->click(); });
        controls().btnGO->click();
        return readLog(path).records;
    }

    const ui::Form1Controls& controls() const { return form->controls(); }

    platform::SteadyClock clock;
    ui::QtEventPump pump{clock};
    platform::LocalCalendar calendar;
    platform::FixedSeedRandom random;
    platform::PosixFileSystem files;
    platform::LazyPort port{platform::openDefaultPort};
    platform::BusyWaitDelay delay;
    FakeMessageBoxes messages;
    FakeSaveDialog saveDialog;
    QTemporaryDir folder;
    std::unique_ptr<ui::Form1> form;
};

TEST_F(StandinWindowTest, AConstantInputIsRecordedExactly) {
    ScopedVariable signal("OMBRELIS_STANDIN_SIGNAL", "const 2.5");
    const auto records = runFor(300, "constant.dat");
    ASSERT_GE(records.size(), 5U);
    for (std::size_t i = 0; i < records.size(); ++i) {
        ASSERT_EQ(records[i].Valeur, 2500) << "record " << i + 1;
    }
    EXPECT_TRUE(messages.shown.empty());
}

/// How many records lie within 4 counts of a 0.5 Hz sine from 0.5 V to 3.5 V, at the best phase.
/// Each record's time is its TempsMs plus half a millisecond, the middle of its stamp's
/// millisecond.
std::size_t onTheSine(const std::vector<engine::MesureRec>& records) {
    std::size_t best = 0;
    for (int phaseMs = 0; phaseMs < 2000; ++phaseMs) {
        std::size_t close = 0;
        for (const auto& r : records) {
            const double seconds = (phaseMs + r.TempsMs + 0.5) / 1000.0;
            const long expected =
                std::lround(1000.0 * (2.0 + 1.5 * std::sin(std::numbers::pi * seconds)));
            close += std::abs(r.Valeur - expected) <= 4 ? 1 : 0;
        }
        best = std::max(best, close);
    }
    return best;
}

TEST_F(StandinWindowTest, TheRecordsFollowTheSine) {
    ScopedVariable signal("OMBRELIS_STANDIN_SIGNAL", "sine 0.5 0.5 3.5");
    const auto records = runFor(1500, "sine.dat");
    ASSERT_GE(records.size(), 50U);
    // A stamp read late now and then (the machine busy) must not fail the test; a wrong
    // reading of the converter puts nearly every record off the curve.
    EXPECT_GE(onTheSine(records), records.size() * 9 / 10);
}

struct FaultCase {
    const char* name;
    const char* fault;
    const char* message;
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.fault; }
};

class StandinFaultTest : public StandinWindowTest,
                         public ::testing::WithParamInterface<FaultCase> {};

TEST_P(StandinFaultTest, SaysWhyStaysIdleAndLogsOnceThePortWorks) {
    {
        ScopedVariable fault("OMBRELIS_STANDIN_FAIL", GetParam().fault);
        runFor(1000, "refused.dat");
    }
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().kind, "error");
    EXPECT_EQ(messages.shown.back().text.substr(0, std::string(GetParam().message).size()),
              GetParam().message);
    EXPECT_TRUE(controls().btnGO->isEnabled());
    EXPECT_FALSE(controls().btnSTOP->isEnabled());

    messages.shown.clear();
    ScopedVariable signal("OMBRELIS_STANDIN_SIGNAL", "const 2.5");
    const auto records = runFor(100, "after.dat");
    EXPECT_TRUE(messages.shown.empty());
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.back().Valeur, 2500);
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StandinFaultTest,
    ::testing::Values(
        FaultCase{"OpenEacces", "open:EACCES",
                  "Impossible d'ouvrir le port parallèle /dev/parport0 : permission refusée. "
                  "Ajoutez l'utilisateur au groupe lp."},
        FaultCase{"OpenEnoent", "open:ENOENT",
                  "Impossible d'ouvrir le port parallèle /dev/parport0 : aucun fichier ou dossier "
                  "de ce nom. Chargez le module ppdev (modprobe ppdev)."},
        FaultCase{"OpenEbusy", "open:EBUSY",
                  "Impossible d'ouvrir le port parallèle /dev/parport0 : périphérique ou "
                  "ressource occupé. Le pilote d'imprimante tient le port : déchargez le module "
                  "lp (rmmod lp)."},
        FaultCase{"ClaimEbusy", "claim:EBUSY",
                  "Impossible de prendre la main sur le port parallèle /dev/parport0 : "
                  "périphérique ou ressource occupé. Le pilote d'imprimante tient le port : "
                  "déchargez le module lp (rmmod lp)."},
        FaultCase{"ClaimEnxio", "claim:ENXIO",
                  "Impossible de prendre la main sur le port parallèle /dev/parport0 : "
                  "périphérique absent. Le pilote d'imprimante tient peut-être le port : "
                  "déchargez le module lp (rmmod lp)."}),
    [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ombrelis::testing

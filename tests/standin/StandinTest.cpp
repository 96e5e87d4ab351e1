// The converter path through the real open, ioctl and close calls, answered by the preloaded
// stand-in: its rules, the ppdev backend's readout, and the whole window over the services
// main() gives it, Simulation off (only the boxes and the Save dialog are fakes).

#include "../ui/WindowFixture.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <fcntl.h>
#include <fstream>
#include <linux/ppdev.h>
#include <numbers>
#include <ombrelis/platform/PpdevPort.h>
#include <ombrelis/testing/ConstantSignals.h>
#include <ombrelis/testing/LogContents.h>
#include <ombrelis/ui/PickList.h>
#include <ombrelis/ui/QtEventPump.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace ombrelis::testing {
namespace {

using platform::PpdevStep;

/// The default input, 0.5 Hz from 0.5 V to 3.5 V, in counts, at a time of the monotonic clock.
long sineCount(std::chrono::duration<double> t) {
    return std::lround(2000 + 1500 * std::sin(std::numbers::pi * t.count()));
}

/// One open of the device, closed at the end of the scope.
struct Handle {
    Handle() : fd(::open("/dev/parport0", O_RDWR | O_CLOEXEC)) {}
    ~Handle() { ::close(fd); }
    /// 0 when the request succeeds, else its errno.
    int request(unsigned long what) const {
        unsigned char byte = 0;
        return ::ioctl(fd, what, &byte) == 0 ? 0 : errno;
    }
    const int fd;
};

TEST(PpdevStandinTest, KeepsTheDriversRules) {
    auto first = std::make_unique<Handle>();
    const Handle second;
    ASSERT_GE(second.fd, 0) << "the stand-in is not preloaded";
    EXPECT_EQ(first->request(PPRSTATUS), EINVAL) << "status before the claim";
    EXPECT_EQ(first->request(PPWDATA), EINVAL) << "data before the claim";
    EXPECT_EQ(first->request(PPRELEASE), EINVAL) << "release without a claim";
    EXPECT_EQ(first->request(PPEXCL), 0);
    EXPECT_EQ(first->request(PPCLAIM), 0);
    EXPECT_EQ(first->request(PPCLAIM), EINVAL) << "a second claim";
    EXPECT_EQ(second.request(PPCLAIM), ENXIO) << "beside an exclusive registration";
    EXPECT_EQ(first->request(PPRELEASE), 0);
    EXPECT_EQ(first->request(PPRSTATUS), EINVAL) << "status after the release";
    first.reset();
    EXPECT_EQ(second.request(PPCLAIM), 0) << "the exclusive registration ends with its close";
    EXPECT_EQ(second.request(PPEXCL), EINVAL) << "exclusive after a shared claim";
}

/// The stand-in reads its variables at each open of the device.
class StandinTest : public ::testing::Test {
protected:
    void TearDown() override { ::unsetenv("OMBRELIS_STANDIN_SIGNAL"); }
    /// The backend's readout on a fresh open of the port under `signal`.
    void readouts(const char* signal, const std::function<void(engine::Convertisseur&)>& use) {
        ::setenv("OMBRELIS_STANDIN_SIGNAL", signal, 1);
        platform::PpdevPort ppdev;
        platform::BusyWaitDelay wait;
        engine::Convertisseur converter(ppdev, wait);
        use(converter);
    }
};

class ConstantInputTest : public StandinTest,
                          public ::testing::WithParamInterface<ConstantSignal> {};

TEST_P(ConstantInputTest, EveryReadoutGivesTheExactCount) {
    readouts(GetParam().signal, [](engine::Convertisseur& converter) {
        for (int i = 0; i < 20; ++i) {
            ASSERT_EQ(converter.LireConvertisseur(), GetParam().count) << "readout " << i;
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Volts, ConstantInputTest, ::testing::ValuesIn(kConstantSignals),
                         NamedAfterName{});

TEST_F(StandinTest, ASineInputGivesTheCountAtEachConversion) {
    readouts("", [](engine::Convertisseur& converter) { // empty: the default input
        using Clock = std::chrono::steady_clock;
        for (int i = 0; i < 100; ++i, std::this_thread::sleep_for(std::chrono::milliseconds(5))) {
            const Clock::time_point before = Clock::now();
            const long value = converter.LireConvertisseur();
            const Clock::time_point after = Clock::now();
            // The conversion started within the span, far too short for the sine to turn.
            const auto [low, high] = std::minmax(
                {sineCount(before.time_since_epoch()), sineCount(after.time_since_epoch())});
            ASSERT_TRUE(value >= low && value <= high)
                << value << " not in " << low << ".." << high;
        }
    });
}

class StandinWindowTest : public StandinTest {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        form.Form_Load();
        form.show();
    }

    /// The records of a run at 10 ms into `name` on the input `signal`, stopped after `ms`
    /// unless it ends before.
    std::vector<engine::MesureRec> runFor(int ms, const char* name, const char* signal) {
        ::setenv("OMBRELIS_STANDIN_SIGNAL", signal, 1);
        const std::string path = folder.filePath(QString::fromLatin1(name)).toStdString();
        const ui::Form1Controls& c = form.controls();
        c.ctlNomdefichier->setText(QString::fromStdString(path));
        c.Simu->setChecked(false);
        c.ctlVitesse->setEditText(QStringLiteral("10"));
        QTimer::singleShot(ms, c.btnSTOP, [&c] { c.btnSTOP->click(); });
        c.btnGO->click();
        return readLog(path).records;
    }

    /// A short run on 2.5 V: every record holds 2500, and nothing is told to the user.
    void expectAConstantRun(const char* name) {
        const auto records = runFor(300, name, "const 2.5");
        ASSERT_GE(records.size(), 5U);
        EXPECT_EQ(std::count_if(records.begin(), records.end(),
                                [](const auto& r) { return r.Valeur == 2500; }),
                  std::ssize(records));
        EXPECT_TRUE(messages.shown.empty());
    }

    platform::SteadyClock clock;
    ui::QtEventPump pump{clock};
    platform::LocalCalendar calendar;
    platform::FixedSeedRandom random;
    platform::PosixFileSystem files;
    platform::LazyPort port{platform::openDefaultPort};
    platform::BusyWaitDelay delay;
    FakeMessageBoxes messages;
    FakeSaveDialog saveDialog;
    platform::NormalPriority threadPriority;
    QTemporaryDir folder;
    ui::Form1 form{
        {clock, pump, calendar, random, files, port, delay, messages, saveDialog, threadPriority}};
};

TEST_F(StandinWindowTest, TheRecordsFollowTheSine) {
    const auto records = runFor(1500, "sine.dat", "sine 0.5 0.5 3.5");
    ASSERT_GE(records.size(), 50U);
    // Records within 4 counts of the sine at its best phase, each at the middle of its TempsMs
    // millisecond: a late stamp now and then (a busy machine) is allowed, a wrong readout is not.
    std::ptrdiff_t best = 0;
    for (int phaseMs = 0; phaseMs < 2000; ++phaseMs) {
        const auto onTheSine = [phaseMs](const engine::MesureRec& r) {
            const std::chrono::duration<double, std::milli> at(phaseMs + r.TempsMs + 0.5);
            return std::abs(r.Valeur - sineCount(at)) <= 4;
        };
        best = std::max(best, std::count_if(records.begin(), records.end(), onTheSine));
    }
    EXPECT_GE(best, std::ssize(records) * 9 / 10);
}

struct FaultCase {
    const char* name;
    const char* fault;
    PpdevStep step;
    int errorNumber;
    friend void PrintTo(const FaultCase& c, std::ostream* os) { *os << c.fault; }
};

class StandinFaultTest : public StandinWindowTest,
                         public ::testing::WithParamInterface<FaultCase> {};

TEST_P(StandinFaultTest, SaysWhyStaysIdleAndLogsOnceThePortWorks) {
    // An earlier log under the name, which the user would agree to overwrite: the port's
    // failure comes before anything touches it.
    const std::string earlier = folder.filePath(QStringLiteral("refused.dat")).toStdString();
    std::ofstream(earlier) << "kept";
    ::setenv("OMBRELIS_STANDIN_FAIL", GetParam().fault, 1);
    runFor(1000, "refused.dat", "const 2.5");
    ::unsetenv("OMBRELIS_STANDIN_FAIL");
    const std::string expected =
        platform::ppdevFailureMessage(GetParam().step, "/dev/parport0", GetParam().errorNumber);
    ASSERT_FALSE(messages.shown.empty());
    EXPECT_EQ(messages.shown.back().kind, "error");
    EXPECT_EQ(messages.shown.back().text.substr(0, expected.size()), expected);
    EXPECT_TRUE(form.controls().btnGO->isEnabled());
    EXPECT_FALSE(form.controls().btnSTOP->isEnabled());
    std::string left;
    std::getline(std::ifstream(earlier), left);
    EXPECT_EQ(left, "kept");

    messages.shown.clear(); // and a constant input is then recorded exactly
    expectAConstantRun("after.dat");
}

INSTANTIATE_TEST_SUITE_P(
    Faults, StandinFaultTest,
    ::testing::Values(FaultCase{"OpenEacces", "open:EACCES", PpdevStep::Open, EACCES},
                      FaultCase{"OpenEnoent", "open:ENOENT", PpdevStep::Open, ENOENT},
                      FaultCase{"OpenEbusy", "open:EBUSY", PpdevStep::Open, EBUSY},
                      FaultCase{"ClaimEbusy", "claim:EBUSY", PpdevStep::Claim, EBUSY},
                      FaultCase{"ClaimEnxio", "claim:ENXIO", PpdevStep::Claim, ENXIO}),
    NamedAfterName{});

} // namespace
} // namespace ombrelis::testing

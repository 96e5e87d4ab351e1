// What a user gets when the system refuses something during a run: a clear French message,
// the buttons back to idle, and a log file of whole records holding every sample shown.
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <ombrelis/platform/FileSizeLimit.h>
#include <ombrelis/platform/PosixFileSystem.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/ChildProcess.h>
#include <ombrelis/testing/Contains.h>
#include <ombrelis/testing/CountingFiles.h>
#include <ombrelis/testing/RunHarness.h>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace ombrelis;
using ombrelis::testing::contains;
using ombrelis::testing::readLog;
using ombrelis::testing::RunHarness;
namespace fs = std::filesystem;

namespace {

void expectStoppedWithError(RunHarness& h, const std::string& reason) {
    ASSERT_FALSE(h.boxes.shown.empty());
    const auto& box = h.boxes.shown.back();
    EXPECT_EQ(box.kind, "error");
    EXPECT_EQ(box.title, "Ombrelis");
    EXPECT_TRUE(contains(box.text, reason)) << box.text;
    EXPECT_TRUE(h.window.goOn);
    EXPECT_FALSE(h.window.stopOn);
}

/// A run that something refuses, and what the user must be told then.
struct StopCase {
    const char* name;
    std::vector<const char*> told;      ///< parts of the error box's text
    std::size_t shown;                  ///< status lines shown
    std::optional<std::size_t> records; ///< whole records left under the name
    std::function<void(RunHarness&)> arrange;
    std::function<void(RunHarness&)> after = [](RunHarness&) {}; ///< what else must stand
    std::size_t boxes = 1; ///< the error, after the overwrite question if one came
};

class RunStopped : public ::testing::TestWithParam<StopCase> {};

/// Descriptors this process holds: a run that fails must leave none of its own behind.
std::size_t openDescriptors() {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator("/proc/self/fd"), fs::directory_iterator{}));
}

TEST_P(RunStopped, TellsWhatFailedWhyAndWhatTheFileKeeps) {
    const StopCase& c = GetParam();
    RunHarness h;
    c.arrange(h);
    const std::size_t descriptors = openDescriptors();
    h.run.MainLoop();
    EXPECT_EQ(openDescriptors(), descriptors) << "the run left a descriptor open";
    for (const char* part : c.told) {
        expectStoppedWithError(h, part);
    }
    EXPECT_EQ(h.window.statuses.size(), c.shown) << "every status shown is a record kept";
    EXPECT_EQ(h.boxes.shown.size(), c.boxes);
    if (c.records) {
        const auto log = readLog(h.window.name);
        EXPECT_EQ(log.records.size(), *c.records);
        EXPECT_EQ(log.trailingBytes, 0u);
    }
    c.after(h);
}

void intoAFullDevice(RunHarness& h) {
    h.files.recordFile = [] {
        return platform::recordFileOnDescriptor(::open("/dev/full", O_RDWR | O_CLOEXEC), "m.dat",
                                                engine::kRecordSize);
    };
}

/// The file refuses to close, and before that to take the first record when `failedWrite`.
template <int failedWrite> void failingClose(RunHarness& h) {
    auto counts = std::make_shared<ombrelis::testing::FileCounts>();
    counts->failWriteWith = failedWrite;
    counts->failCloseWith = EIO;
    h.files.recordFile = [counts] {
        return std::make_unique<ombrelis::testing::CountingRecordFile>(*counts);
    };
    h.stopAfter(2);
}

void missingFolder(RunHarness& h) {
    h.window.name = h.dir / "absent/mesures.dat";
}

void namedInReason(RunHarness& h) {
    expectStoppedWithError(h, h.window.name);
    EXPECT_EQ(h.surface.clears(), 0);
}

/// Names that stand for something else than a regular file, which the run must leave alone.
template <const char* name> void notAFile(RunHarness& h) {
    fs::create_directory(h.dir / "folder.dat");
    std::ofstream(h.dir / "folder.dat/inside") << "x";
    ::mkfifo((h.dir / "pipe.dat").c_str(), 0600); // opening it would block the run
    fs::create_symlink("pipe.dat", h.dir / "link.dat");
    h.window.name = h.dir / name;
}

void leftAlone(RunHarness& h) {
    EXPECT_TRUE(fs::exists(h.dir / "folder.dat/inside"));
    EXPECT_TRUE(fs::is_fifo(h.dir / "pipe.dat"));
    EXPECT_TRUE(fs::is_symlink(h.dir / "link.dat"));
    EXPECT_EQ(h.surface.clears(), 0);
}

void swappedDuringTheQuestion(RunHarness& h) {
    ombrelis::testing::writeTextFile(h.window.name, "asked about");
    ombrelis::testing::writeTextFile(h.dir / "other.dat", "kept");
    h.boxes.whileAsking = [&h] { // a regular file, but not the one asked about
        fs::remove(h.window.name);
        fs::create_symlink("other.dat", h.window.name);
    };
}

void swapKept(RunHarness& h) {
    EXPECT_TRUE(fs::is_symlink(h.window.name));
    EXPECT_EQ(ombrelis::testing::fileBytes(h.window.name).size(), 4u);
}

/// STOP, then GO inside the run's pump on the name that this run is writing.
void secondGoOnTheSameName(RunHarness& h) {
    h.pump.at(3, [&h] {
        h.window.clickStop();
        h.window.goOn = false;
        h.window.stopOn = true;
        h.run.MainLoop();
    });
    h.pump.at(6, [&h] { h.window.clickStop(); }); // ends an inner run that wrongly started
}

void periodBeyondADouble(RunHarness& h) {
    h.window.period = "1E400";
}

/// Finite, but not once in milliseconds; the sample that meets it is written.
void axisBeyondMilliseconds(RunHarness& h) {
    h.pump.at(3, [&h] { h.window.axis = "1E306"; });
}

/// At the top of the second cycle, the clock jumps to where the next stamp is the last that fits.
void elapsedBeyond32Bits(RunHarness& h) {
    h.window.period = "1000";
    h.pump.at(3, [&h] { h.clock.advance(2147483647LL - 1000); });
}

void lastStampFits(RunHarness& h) {
    EXPECT_EQ(readLog(h.window.name).records.at(1).TempsMs, 2147483647);
}

/// The record count runs out at the sample after these.
template <int records> void recordLimit(RunHarness& h) {
    h.run.setRecordLimit(records);
}

constexpr char kFolder[] = "folder.dat", kFifo[] = "pipe.dat", kLink[] = "link.dat";
constexpr const char* kNotAFile = "autre chose qu'un fichier ordinaire";

INSTANTIATE_TEST_SUITE_P(
    Refusals, RunStopped,
    ::testing::Values(
        StopCase{"FullDevice",
                 {"Impossible d'écrire", "plus de place sur le périphérique", "aucune mesure"},
                 0,
                 {},
                 intoAFullDevice},
        StopCase{"CloseFailingAtStop",
                 {"erreur d'entrée/sortie", "Les 2 mesures"},
                 2,
                 {},
                 failingClose<0>},
        StopCase{"CloseFailingAfterAWrite", // both reasons: neither hides the other
                 {"plus de place sur le périphérique", "erreur d'entrée/sortie", "aucune mesure"},
                 0,
                 {},
                 failingClose<ENOSPC>},
        StopCase{"MissingFolder",
                 {"aucun fichier ou dossier de ce nom"},
                 0,
                 {},
                 missingFolder,
                 namedInReason},
        StopCase{"Folder", {kNotAFile}, 0, {}, notAFile<kFolder>, leftAlone},
        StopCase{"Fifo", {kNotAFile}, 0, {}, notAFile<kFifo>, leftAlone},
        StopCase{"LinkToAFifo", {kNotAFile}, 0, {}, notAFile<kLink>, leftAlone},
        StopCase{
            "SwappedDuringTheQuestion", {"remplacé"}, 0, {}, swappedDuringTheQuestion, swapKept, 2},
        StopCase{"FileThisWindowsRunHolds", {"mesure en cours"}, 3, 3, secondGoOnTheSameName},
        StopCase{"PeriodBeyondADouble", {"1E400", "aucune mesure"}, 0, 0, periodBeyondADouble},
        StopCase{
            "AxisBeyondMilliseconds", {"1E306", "Les 3 mesures"}, 2, 3, axisBeyondMilliseconds},
        StopCase{"ElapsedBeyond32Bits",
                 {"2 147 483 647 ms", "Les 2 mesures"},
                 2,
                 2,
                 elapsedBeyond32Bits,
                 lastStampFits},
        StopCase{"NoRecord", {"ne contient aucune mesure"}, 0, 0, recordLimit<0>},
        StopCase{"OneRecord", {"La mesure déjà prise est enregistrée"}, 1, 1, recordLimit<1>},
        StopCase{
            "TwoRecords", {"Les 2 mesures déjà prises sont enregistrées"}, 2, 2, recordLimit<2>}),
    ombrelis::testing::NamedAfterName{});

/// A run stopped by a limit of the system, in a child whose limits can be lowered for good (as
/// nobody, where root is above the limit): told why, whole records kept, no descriptor left.
struct LimitCase {
    const char* name;
    ombrelis::testing::ChildUser user;
    int resource;
    rlim_t limit;
    const char* told;
    std::uintmax_t bytes; ///< left under the name
};

class RunStoppedByALimit : public ::testing::TestWithParam<LimitCase> {};

TEST_P(RunStoppedByALimit, TellsWhyAndKeepsWholeRecords) {
    const LimitCase& c = GetParam();
    EXPECT_EQ(
        ombrelis::testing::runInChild(
            c.user,
            [&c]() -> std::string {
                platform::writesPastFileSizeLimitFail(); // as the program does at start
                RunHarness h;
                h.window.period = "0";
                h.stopAfter(10000);
                const rlimit limit{c.limit, c.limit};
                const std::size_t descriptors = openDescriptors();
                if (::setrlimit(c.resource, &limit) == 0) {
                    h.run.MainLoop();
                }
                const std::string told = h.boxes.shown.empty() ? "nothing" : h.boxes.shown[0].text;
                const bool asExpected = openDescriptors() == descriptors &&
                                        contains(told, c.told) &&
                                        fs::file_size(h.window.name) == c.bytes;
                return asExpected ? "" : "told " + told + ", left descriptors or records wrongly";
            }),
        "");
}

INSTANTIATE_TEST_SUITE_P(
    Limits, RunStoppedByALimit,
    ::testing::Values(LimitCase{"file_size", ombrelis::testing::ChildUser::Same, RLIMIT_FSIZE,
                                70005, "fichier trop volumineux", 70000},
                      // The log's sync thread cannot start: the file is there, still empty.
                      LimitCase{"no_thread_for_the_log", ombrelis::testing::ChildUser::Unprivileged,
                                RLIMIT_NPROC, 1, "ressource temporairement indisponible", 0}),
    ombrelis::testing::NamedAfterName{});

struct PortCase {
    const char* name;
    int switchOffInPump; ///< 0: Simulation is off at GO; else the pump that turns it off
    std::size_t boxes;   ///< the overwrite question, if it came, and the error
    std::size_t fileSize;
    const char* note;
};

class PortFailure : public ::testing::TestWithParam<PortCase> {};

TEST_P(PortFailure, IsToldBeforeTheFileIsTouchedWhenSimulationIsOffAtGo) {
    const PortCase c = GetParam();
    int attempts = 0;
    platform::LazyPort port([&]() -> std::unique_ptr<platform::PortIo> {
        ++attempts;
        throw platform::PortError(
            "Impossible d'ouvrir le port parallèle /dev/parport0 : permission refusée.");
    });
    RunHarness h;
    engine::Convertisseur converter(port, h.delay);
    engine::SamplingRun run(h.window, h.surface,
                            engine::RunServices{h.clock, h.pump, h.boxes, h.files, h.calendar,
                                                converter, h.simulator, h.threadPriority});
    ombrelis::testing::writeTextFile(h.window.name, "an earlier run"); // 14 bytes; answer Yes
    h.window.simu = c.switchOffInPump == 0 ? 0 : 1;
    h.pump.at(c.switchOffInPump, [&] { h.window.simu = 0; });
    run.MainLoop();
    expectStoppedWithError(h, "port parallèle");
    expectStoppedWithError(h, c.note);
    EXPECT_EQ(h.boxes.shown.size(), c.boxes);
    EXPECT_EQ(ombrelis::testing::fileBytes(h.window.name).size(), c.fileSize);
    EXPECT_EQ(attempts, 1);
}

INSTANTIATE_TEST_SUITE_P(Switch, PortFailure,
                         ::testing::Values(PortCase{"off_at_go", 0, 1, 14, "permission refusée"},
                                           PortCase{"turned_off_in_the_run", 3, 2, 28,
                                                    "Les 2 mesures"}),
                         ombrelis::testing::NamedAfterName{});

} // namespace

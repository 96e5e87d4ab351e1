// What a user gets when the system refuses something during a run: a clear French message,
// the buttons back to idle, and a log file of whole records holding every sample shown.
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <ombrelis/platform/PosixFileSystem.h>
#include <ombrelis/testing/ChildProcess.h>
#include <ombrelis/testing/CountingFiles.h>
#include <ombrelis/testing/RunHarness.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <utility>

using namespace ombrelis;
using ombrelis::testing::ChildUser;
using ombrelis::testing::readLog;
using ombrelis::testing::RunHarness;
using ombrelis::testing::runInChild;

namespace {

bool contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

void expectStoppedWithError(RunHarness& h, const std::string& reason) {
    ASSERT_FALSE(h.boxes.shown.empty());
    const auto& box = h.boxes.shown.back();
    EXPECT_EQ(box.kind, "error");
    EXPECT_EQ(box.title, "Ombrelis");
    EXPECT_TRUE(contains(box.text, reason)) << box.text;
    EXPECT_TRUE(h.window.goOn);
    EXPECT_FALSE(h.window.stopOn);
}

/// Hands the run the record file that `make` gives, whatever name it asks for.
class HandingFileSystem final : public platform::FileSystem {
public:
    explicit HandingFileSystem(std::function<std::unique_ptr<platform::RecordFile>()> make)
        : make_(std::move(make)) {}
    platform::EntryKind probe(const std::string&) override { return platform::EntryKind::Absent; }
    std::unique_ptr<platform::HeldFile> holdExisting(const std::string&) override {
        return nullptr;
    }
    std::unique_ptr<platform::RecordFile> createRecords(const std::string&, std::size_t) override {
        return make_();
    }

private:
    std::function<std::unique_ptr<platform::RecordFile>()> make_;
};

TEST(SamplingRunFailure, AFullDeviceStopsTheRunWithTheSystemsReason) {
    HandingFileSystem full([] {
        return platform::recordFileOnDescriptor(::open("/dev/full", O_RDWR | O_CLOEXEC),
                                                "mesures.dat", engine::kRecordSize);
    });
    RunHarness h(&full);
    h.stopAfter(5);
    h.run.MainLoop();
    expectStoppedWithError(h, "plus de place sur le périphérique");
    EXPECT_TRUE(contains(h.boxes.shown.back().text, "Impossible d'écrire dans le fichier"));
    EXPECT_TRUE(h.window.statuses.empty()); // nothing shown that the file does not hold
}

TEST(SamplingRunFailure, AWriteRefusedMidRunLeavesEveryEarlierRecordWhole) {
    RunHarness h;
    const std::string name = h.window.name;
    // The file-size limit is per process: apply it in a child, then read the file here.
    const auto runUnderTheLimit = [&h]() -> std::string {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{3 * 14 + 5, RLIM_INFINITY}; // room for 3 records and a bit
        ::setrlimit(RLIMIT_FSIZE, &limit);
        h.stopAfter(10);
        h.run.MainLoop();
        const bool reported = h.boxes.shown.size() == 1 &&
                              contains(h.boxes.shown[0].text, "fichier trop volumineux") &&
                              contains(h.boxes.shown[0].text, "3 mesures");
        return reported && h.window.statuses.size() == 3 ? "" : "the refusal was not told";
    };
    EXPECT_EQ(runInChild(ChildUser::Same, runUnderTheLimit), "");
    const auto log = readLog(name);
    // The 4th record's write was cut at the limit; what stands before it is whole.
    ASSERT_GE(log.records.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(log.records[i].Heure[2], ':');
    }
}

TEST(SamplingRunFailure, AMissingFolderIsReportedAndNothingIsCreated) {
    RunHarness h;
    h.window.name = h.dir.file("absent/mesures.dat");
    h.run.MainLoop();
    expectStoppedWithError(h, "aucun fichier ou dossier de ce nom");
    EXPECT_TRUE(contains(h.boxes.shown.back().text, h.window.name));
    EXPECT_EQ(h.surface.clears(), 0);
}

TEST(SamplingRunFailure, AReadOnlyFolderIsReported) {
    RunHarness h;
    std::filesystem::create_directory(h.dir.file("ro"));
    ::chmod(h.dir.file("ro").c_str(), 0555);
    ::chmod(h.dir.path().c_str(), 0755);
    h.window.name = h.dir.file("ro/mesures.dat");
    // Root writes anywhere: drop to an ordinary user in a child to meet the refusal for real.
    const auto runAsOrdinaryUser = [&h]() -> std::string {
        h.run.MainLoop();
        const bool ok = h.boxes.shown.size() == 1 &&
                        contains(h.boxes.shown[0].text, "permission refusée") && h.window.goOn &&
                        !h.window.stopOn;
        return ok ? "" : "the refusal was not told";
    };
    EXPECT_EQ(runInChild(ChildUser::Unprivileged, runAsOrdinaryUser), "");
    EXPECT_FALSE(std::filesystem::exists(h.window.name));
}

TEST(SamplingRunFailure, ANameThatIsNotARegularFileIsNeverTouched) {
    RunHarness h;
    const std::string folder = h.dir.file("folder.dat");
    std::filesystem::create_directory(folder);
    std::ofstream(h.dir.file("folder.dat/inside")) << "x";
    const std::string fifo = h.dir.file("pipe.dat");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string linkToFifo = h.dir.file("link.dat");
    std::filesystem::create_symlink(fifo, linkToFifo);

    for (const std::string& name : {folder, fifo, linkToFifo}) {
        h.boxes.shown.clear();
        h.window.stopOn = true;
        h.window.name = name;
        h.run.MainLoop(); // opening the pipe would block: it must not even be tried
        expectStoppedWithError(h, "autre chose qu'un fichier ordinaire");
        EXPECT_EQ(h.boxes.shown.size(), 1u); // no overwrite question first
    }
    EXPECT_TRUE(std::filesystem::exists(h.dir.file("folder.dat/inside")));
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
    EXPECT_TRUE(std::filesystem::is_symlink(linkToFifo));
    EXPECT_EQ(h.surface.clears(), 0);
}

TEST(SamplingRunFailure, AnEntrySwappedInDuringTheQuestionIsNotDeleted) {
    RunHarness h;
    const std::string& name = h.window.name;
    ombrelis::testing::writeTextFile(name, "asked about");
    ombrelis::testing::writeTextFile(h.dir.file("other.dat"), "kept");
    h.boxes.whileAsking = [&] { // a regular file still, but not the one asked about
        std::filesystem::remove(name);
        std::filesystem::create_symlink("other.dat", name);
    };
    h.run.MainLoop(); // the answer is Yes
    expectStoppedWithError(h, "remplacé");
    EXPECT_TRUE(std::filesystem::is_symlink(name));
    EXPECT_EQ(ombrelis::testing::fileBytes(name).size(), 4u);
}

struct PortCase {
    const char* label;
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
                         [](const auto& info) { return std::string(info.param.label); });

TEST(SamplingRunFailure, NumbersTooLargeForADoubleStopTheRunCleanly) {
    {
        RunHarness h;
        h.window.period = "1E400";
        h.run.MainLoop();
        expectStoppedWithError(h, "1E400");
        EXPECT_EQ(readLog(h.window.name).size, 0u);
    }
    {
        RunHarness h;
        int pumps = 0;
        h.pump.everyPump = [&] {
            if (++pumps == 3) {
                h.window.axis = "1E306"; // finite, but not once in milliseconds
            }
        };
        h.run.MainLoop();
        expectStoppedWithError(h, "1E306");
        EXPECT_EQ(readLog(h.window.name).records.size(), 3u); // the failing sample was written
        EXPECT_TRUE(contains(h.boxes.shown.back().text, "3 mesures"));
    }
}

class StoppedNote : public ::testing::TestWithParam<std::pair<int, const char*>> {};

TEST_P(StoppedNote, TellsHowManyRecordsTheFileKeeps) {
    RunHarness h;
    h.run.setRecordLimit(GetParam().first); // the run fails at the sample after these
    h.run.MainLoop();
    expectStoppedWithError(h, GetParam().second);
    EXPECT_EQ(readLog(h.window.name).records.size(), static_cast<std::size_t>(GetParam().first));
}

INSTANTIATE_TEST_SUITE_P(
    Records, StoppedNote,
    ::testing::Values(std::pair{0, "ne contient aucune mesure"},
                      std::pair{1, "La mesure déjà prise est enregistrée dans le fichier"},
                      std::pair{2, "Les 2 mesures déjà prises sont enregistrées dans le fichier"}),
    [](const auto& info) { return std::to_string(info.param.first) + "_records"; });

TEST(SamplingRunFailure, AFailedCloseAtStopIsTold) {
    ombrelis::testing::FileCounts counts;
    counts.failCloseWith = EIO;
    HandingFileSystem files(
        [&] { return std::make_unique<ombrelis::testing::CountingRecordFile>(counts); });
    RunHarness h(&files);
    h.stopAfter(2);
    h.run.MainLoop();
    expectStoppedWithError(h, "erreur d'entrée/sortie");
    expectStoppedWithError(h, "Les 2 mesures");
}

TEST(SamplingRunFailure, TheCounterAndTheElapsedTimeNeverWrap) {
    {
        RunHarness h;
        h.window.period = "1000";
        int pumps = 0;
        h.pump.everyPump = [&] {
            if (++pumps == 3) { // top of the second cycle: the next stamp is the last that fits
                h.clock.advance(2147483647LL - 1000);
            }
            if (pumps > 20) {
                h.window.clickStop(); // a run that failed to stop would still end
            }
        };
        h.run.MainLoop();
        expectStoppedWithError(h, "2 147 483 647 ms");
        const auto log = readLog(h.window.name);
        ASSERT_EQ(log.records.size(), 2u);
        EXPECT_EQ(log.records[1].TempsMs, 2147483647);
    }
}

} // namespace

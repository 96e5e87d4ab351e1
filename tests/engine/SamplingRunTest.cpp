#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <ombrelis/engine/StatusLine.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/RunHarness.h>

using namespace ombrelis;
using ombrelis::testing::DrawnLine;
using ombrelis::testing::fileBytes;
using ombrelis::testing::readLog;
using ombrelis::testing::RunHarness;

namespace {

constexpr chart::Colour kGreen = chart::rgb(0, 192, 0);
constexpr chart::DashStyle kSolid = chart::DashStyle::Solid;

std::string heure(const engine::MesureRec& r) {
    return std::string(r.Heure.data(), 8);
}

TEST(SamplingRun, NewFileGetsOneWholeRecordPerSampleAndAStatusLineForEach) {
    RunHarness h;
    h.random.values = {0.0f, 0.5f, 0.25f, 0.75f};
    h.window.period = "1000";
    h.stopAfter(4);
    h.run.MainLoop();

    const auto log = readLog(h.window.name);
    ASSERT_EQ(log.size, 4u * 14u);
    const std::vector<std::int16_t> values{1024, 2048, 1536, 2560};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(log.records[i].Valeur, values[i]);
        EXPECT_EQ(log.records[i].TempsMs, static_cast<std::int32_t>(1000 * i));
        EXPECT_EQ(heure(log.records[i]), "14:05:09");
    }
    EXPECT_EQ(h.window.statuses.front(),
              "Mesure : 1     T - T0 : 0 ms     Valeur : 1024   Frq réelle : 0");
    EXPECT_EQ(h.window.statuses.back(),
              "Mesure : 4     T - T0 : 3000 ms     Valeur : 2560   Frq réelle : 1000");
    EXPECT_TRUE(h.boxes.shown.empty()); // no question for a new file
    EXPECT_EQ(h.surface.clears(), 1);
    EXPECT_EQ(h.window.idleCalls, 0); // STOP's handler set the buttons; the run leaves them
}

// The switches are read as the sample is taken: flipped during a wait, they serve that sample,
// and a new period counts from the next cycle. Exactly one source is read per sample.
TEST(SamplingRun, SwitchesFlippedDuringAWaitServeThatSampleAndThePeriodTheNextCycle) {
    RunHarness h;
    h.window.period = "1000";
    h.port.input = 4000;
    h.random.values = {0.5f};
    h.pump.at(2, [&] { // the first cycle's wait: its deadline is set, its sample not yet taken
        h.window.simu = 0;
        h.window.period = "500";
    });
    h.pump.at(4, [&] { h.window.simu = 1; }); // the second cycle's wait
    h.stopAfter(3);
    h.run.MainLoop();
    const auto log = readLog(h.window.name);
    ASSERT_EQ(log.records.size(), 3u);
    EXPECT_EQ(log.records[0].Valeur, 4000);
    EXPECT_EQ(h.window.statuses.at(1),
              "Mesure : 2     T - T0 : 500 ms     Valeur : 2048   Frq réelle : 500");
    EXPECT_EQ(h.random.calls, 2);
    EXPECT_EQ(h.port.operations.size(), 44u);
}

TEST(SamplingRun, EachDeadlineCountsFromItsOwnCycleSoLostTimeIsNotMadeUp) {
    RunHarness h;
    h.clock.set(-1008); // the first sample is stamped 0: a clock may well read 0
    h.window.period = "1000";
    h.stopAfter(3, [&](int pump) {
        if (pump % 2 == 1) { // 8 ms of other work in the pump at the top of each cycle
            h.clock.advance(8);
        }
    });
    h.run.MainLoop();
    const auto log = readLog(h.window.name);
    ASSERT_EQ(log.records.size(), 3u);
    EXPECT_EQ(log.records[1].TempsMs, 1008);
    EXPECT_EQ(log.records[2].TempsMs, 2016);
    EXPECT_EQ(h.window.statuses.back(), engine::statusText(3, 2016, log.records[2].Valeur, 1008));
}

struct PeriodCase {
    const char* text;
    std::int64_t interval; ///< between the stamps of two samples, with no work time
    bool waits;
    friend void PrintTo(const PeriodCase& c, std::ostream* os) {
        *os << ::testing::PrintToString(c.text);
    }
};

class PeriodText : public ::testing::TestWithParam<PeriodCase> {};

TEST_P(PeriodText, SetsTheIntervalOrGivesNoWaitAndNoExtraPump) {
    const PeriodCase c = GetParam();
    RunHarness h;
    h.window.period = c.text;
    h.stopAfter(3);
    h.run.MainLoop();
    const auto log = readLog(h.window.name);
    ASSERT_EQ(log.records.size(), 3u);
    EXPECT_EQ(log.records[1].TempsMs, c.interval);
    EXPECT_EQ(log.records[2].TempsMs, 2 * c.interval);
    if (c.waits) {
        EXPECT_GT(h.pump.waits(), 0);
    } else {
        EXPECT_EQ(h.pump.waits(), 0);
        EXPECT_EQ(h.pump.pumps(), 3); // step 2 still pumps once per cycle
    }
}

INSTANTIATE_TEST_SUITE_P(Texts, PeriodText,
                         ::testing::Values(PeriodCase{"", 0, false}, PeriodCase{"abc", 0, false},
                                           PeriodCase{"0", 0, false}, PeriodCase{"-5", 0, false},
                                           PeriodCase{" 1 000", 1000, true},
                                           PeriodCase{"2.5E2", 250, true},
                                           PeriodCase{"&H64", 100, true},
                                           PeriodCase{"0.4", 1, true}),
                         ombrelis::testing::NamedAfterValue{});

/// The period field edited while a cycle waits, at period 100 from tick 1000; each pump of
/// the wait sleeps at most 50 ms, as the real one looks at the window between its sleeps.
struct WaitEditCase {
    const char* name;
    const char* initial;
    std::map<int, const char*> edits; ///< the text typed during pump n
    std::int64_t sampledAt;           ///< the clock when the first sample is taken
};

class PeriodEditedDuringAWait : public ::testing::TestWithParam<WaitEditCase> {};

TEST_P(PeriodEditedDuringAWait, SetsTheWaitsDeadlineFromTheCyclesOwnTick) {
    const WaitEditCase& c = GetParam();
    RunHarness h;
    h.window.period = c.initial;
    h.pump.longestSleepMs = 50;
    h.stopAfter(1, [&](int pump) {
        if (const auto edit = c.edits.find(pump); edit != c.edits.end()) {
            h.window.period = edit->second;
        }
    });
    h.run.MainLoop(); // without the edit followed, the corrected wait outlasts the fake pump
    EXPECT_EQ(h.clock.peek(), c.sampledAt);
    EXPECT_EQ(readLog(h.window.name).records.size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, PeriodEditedDuringAWait,
    ::testing::Values(WaitEditCase{"slip_taken_back", "100", {{3, "99999999"}, {6, "100"}}, 1250},
                      WaitEditCase{"slip_emptied", "100", {{3, "99999999"}, {6, ""}}, 1250},
                      WaitEditCase{"longer", "100", {{2, "300"}}, 1300},
                      WaitEditCase{"shorter", "10000", {{2, "100"}}, 1100},
                      WaitEditCase{"unchanged_text", "100", {{2, "100"}}, 1100}),
    ombrelis::testing::NamedAfterName{});

struct EndCase {
    const char* name;
    const char* period;
    int pump;     ///< the pump inside which it comes: pump 2k - 1 is the top of cycle k, and
                  ///< with a wait, pump 2k its wait
    bool closing; ///< the window is closed, else STOP is clicked
    std::size_t records;
};

class EndOfRun : public ::testing::TestWithParam<EndCase> {};

TEST_P(EndOfRun, ComesAtOnceDuringAWaitOrAtTheNextStopTestWithout) {
    const EndCase c = GetParam();
    RunHarness h;
    h.window.period = c.period;
    h.pump.at(c.pump, [&] { c.closing ? void(h.window.closing = true) : h.window.clickStop(); });
    h.run.MainLoop();
    EXPECT_EQ(readLog(h.window.name).records.size(), c.records);
    EXPECT_EQ(h.pump.pumps(), c.pump) << "the run went on pumping";
}

INSTANTIATE_TEST_SUITE_P(
    Ends, EndOfRun,
    ::testing::Values(EndCase{"stop_during_a_wait", "10000", 4, false, 1},
                      EndCase{"close_during_a_wait", "10000", 4, true, 1},
                      EndCase{"stop_before_a_wait", "10000", 3, false, 1},
                      // Period 0: pump k is the top of cycle k. STOP lets that cycle finish;
                      // a close ends the run before another sample.
                      EndCase{"stop_without_a_wait", "0", 3, false, 3},
                      EndCase{"close_without_a_wait", "0", 3, true, 2}),
    ombrelis::testing::NamedAfterName{});

// A second run of the same window on the same name: asked about, then numbered and timed afresh.
TEST(SamplingRun, OverwriteAnsweredYesStartsTheFileAfresh) {
    RunHarness h;
    h.window.period = "1000";
    h.stopAfter(3);
    h.run.MainLoop();
    h.window.statuses.clear();
    h.window.stopOn = true;
    h.boxes.answers = {true};
    h.stopAfter(2);
    h.run.MainLoop();
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0].kind, "question");
    EXPECT_EQ(h.boxes.shown[0].title, "Attention ...");
    EXPECT_EQ(h.boxes.shown[0].text,
              "Attention " + h.window.name + " va être écrasé !\r\nContinuer ?");
    const auto log = readLog(h.window.name);
    EXPECT_EQ(log.size, 28u);
    EXPECT_EQ(log.records[0].TempsMs, 0);
    EXPECT_EQ(log.records[1].TempsMs, 1000);
    EXPECT_EQ(h.window.statuses.front().substr(0, 10), "Mesure : 1");
}

TEST(SamplingRun, OverwriteAnsweredNoLeavesEverythingAsItWasEvenForAHiddenFile) {
    RunHarness h;
    h.window.name = h.dir.file(".cache.dat");
    ombrelis::testing::writeTextFile(h.window.name, "previous contents");
    h.boxes.answers = {false};
    h.window.status = "earlier status";
    h.run.MainLoop();
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0].kind, "question");
    EXPECT_EQ(fileBytes(h.window.name).size(), 17u);
    EXPECT_EQ(h.window.idleCalls, 1);
    EXPECT_TRUE(h.window.goOn);
    EXPECT_FALSE(h.window.stopOn);
    EXPECT_EQ(h.surface.clears(), 0);
    EXPECT_EQ(h.window.status, "earlier status");
    EXPECT_EQ(h.pump.pumps(), 0);
}

TEST(SamplingRun, WildcardsInTheNameNeverPickOtherFiles) {
    RunHarness h;
    ombrelis::testing::writeTextFile(h.dir.file("a.dat"), "keep me");
    h.window.name = h.dir.file("*.*");
    h.stopAfter(1);
    h.run.MainLoop();
    EXPECT_EQ(fileBytes(h.dir.file("a.dat")).size(), 7u);
#ifdef _WIN32
    // Windows allows no * in a file name: the run is refused with the reason.
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_NE(h.boxes.shown[0].text.find("les caractères * ?"), std::string::npos);
#else
    EXPECT_TRUE(h.boxes.shown.empty()); // one literal name
    EXPECT_EQ(readLog(h.dir.file("*.*")).records.size(), 1u);
#endif
}

TEST(SamplingRun, SweepResetsOnlyWhenTheElapsedTimeExceedsTheAxis) {
    RunHarness h;
    h.window.period = "1000";
    h.window.axis = "1"; // 1000 ms
    h.stopAfter(3);
    h.run.MainLoop();
    // Reset at 1000 (run start). Sample 1 at 2000: exactly 1000 ms, not full. Sample 2 at 3000:
    // full, so the chart resets and the segment starts the new sweep.
    EXPECT_EQ(h.surface.clears(), 2);
    EXPECT_EQ(h.surface.currentScale(), "0, 4096, 1000, 0");
    const auto log = readLog(h.window.name);
    const auto y = [&](std::size_t i) { return static_cast<float>(log.records.at(i).Valeur); };
    ASSERT_EQ(h.surface.lines().size(), 5u); // the grid, then samples 2 and 3
    EXPECT_EQ(h.surface.lines()[3], (DrawnLine{0, y(0), 0, y(1), kGreen, kSolid}));
    EXPECT_EQ(h.surface.lines()[4], (DrawnLine{0, y(1), 1000, y(2), kGreen, kSolid}));
}

TEST(SamplingRun, ASecondRunInsideTheFirstOnAnotherFileWorks) {
    RunHarness h;
    const std::string first = h.window.name;
    const std::string second = h.dir.file("second.dat");
    h.pump.at(3, [&] {
        h.window.clickStop(); // STOP, then GO in the same pump
        h.window.name = second;
        h.window.goOn = false;
        h.window.stopOn = true;
        h.run.MainLoop();
    });
    h.pump.at(6, [&] { h.window.clickStop(); }); // stops the inner run after its third sample
    h.run.MainLoop();
    const auto outer = readLog(first);
    const auto inner = readLog(second);
    EXPECT_EQ(outer.records.size(), 3u); // the outer cycle completes after the inner run
    EXPECT_EQ(inner.records.size(), 3u);
    EXPECT_EQ(inner.records[0].TempsMs, 0);
    EXPECT_TRUE(h.boxes.shown.empty());
}

TEST(SamplingRun, AFileThatAnotherProgramIsWritingIsNeitherAskedAboutNorDeleted) {
    RunHarness h;
    platform::NativeFileSystem theirs; // another program's open of the file, with its own lock
    const auto writing = theirs.createRecords(h.window.name, engine::kRecordSize);
    writing->writeRecord(1, engine::encode({}));
    h.run.MainLoop();
    ASSERT_EQ(h.boxes.shown.size(), 1u);
    EXPECT_EQ(h.boxes.shown[0].kind, "error");
    EXPECT_NE(h.boxes.shown[0].text.find("autre programme"), std::string::npos);
    EXPECT_EQ(fileBytes(h.window.name).size(), 14u);
    EXPECT_TRUE(h.window.goOn);
}

} // namespace

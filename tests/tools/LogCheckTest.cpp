#include <gtest/gtest.h>
#include <ombrelis/logtool/LogCheck.h>
#include <ombrelis/logtool/ReportText.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/LogBytes.h>

using namespace ombrelis::logtool;
using ombrelis::testing::garbage;
using ombrelis::testing::logBytes;
using ombrelis::testing::rec;
using ombrelis::testing::soundRun;

namespace {

struct VerdictCase {
    const char* name;
    std::vector<std::uint8_t> bytes;
    std::size_t firstBadRecord; ///< 0: sound
    const char* why;            ///< part of the first fault's reason
};

class CheckVerdict : public ::testing::TestWithParam<VerdictCase> {};

TEST_P(CheckVerdict, FindsTheFirstBadRecordAndSaysWhy) {
    const VerdictCase& c = GetParam();
    const CheckReport report = checkLog(LogView(c.bytes));
    if (c.firstBadRecord == 0) {
        EXPECT_TRUE(report.sound()) << reportText(report, c.name);
        return;
    }
    ASSERT_FALSE(report.sound());
    EXPECT_EQ(report.firstFault->record, c.firstBadRecord);
    std::string why;
    for (const auto& w : report.firstFault->why) {
        why += w + "|";
    }
    EXPECT_NE(why.find(c.why), std::string::npos) << why;
}

INSTANTIATE_TEST_SUITE_P(
    Files, CheckVerdict,
    ::testing::Values(
        VerdictCase{"sound", logBytes(soundRun(30)), 0, ""}, VerdictCase{"empty", {}, 0, ""},
        VerdictCase{"one_record", logBytes({rec(0, "00:00:00", 0)}), 0, ""},
        VerdictCase{"equal_stamps_and_limits",
                    logBytes({rec(0, "23:59:59", 0), rec(4095, "23:59:60", 0)}), 0, ""},
        VerdictCase{"cut_mid_record", logBytes(soundRun(3), 5), 4, "s'arrête après 5 octets"},
        VerdictCase{"only_a_cut_record", logBytes({}, 13), 1, "s'arrête après 13 octets"},
        VerdictCase{"first_stamp_not_zero", logBytes({rec(2000, "12:00:00", 40)}), 1,
                    "TempsMs vaut 40 dans la mesure 1"},
        VerdictCase{"stamp_goes_back",
                    logBytes({rec(1, "12:00:00", 0), rec(1, "12:00:00", 200),
                              rec(1, "12:00:00", 150), rec(1, "12:00:00", 100)}),
                    3, "recule de 200 à 150"},
        VerdictCase{"bad_heure", logBytes({rec(1, "12:00:00", 0), rec(1, "12h00m00", 10)}), 2,
                    "Heure « 12h00m00 »"},
        VerdictCase{"unprintable_heure_shown_escaped",
                    logBytes({rec(1, std::string_view("12:0\0:00", 8), 0)}), 1, "« 12:0\\x00:00 »"},
        VerdictCase{"negative_value", logBytes({rec(0, "12:00:00", 0), rec(-1, "12:00:00", 5)}), 2,
                    "Valeur vaut -1, hors de 0 à 4095"},
        VerdictCase{"value_above_range", logBytes({rec(4096, "12:00:00", 0)}), 1,
                    "Valeur vaut 4096, hors de"},
        VerdictCase{"fault_before_cut", logBytes({rec(1, "12:00:00", 0), rec(5000, "x", 1)}, 3), 2,
                    "Valeur vaut 5000"},
        VerdictCase{"garbage", garbage(100), 1, "Heure"}),
    ombrelis::testing::NamedAfterName{});

TEST(CheckHeure, AcceptsOnlyTimesOfDayOnTheTwentyFourHourClock) {
    struct Row {
        const char* text;
        bool valid;
    };
    for (const Row row :
         {Row{"00:00:00", true}, Row{"23:59:59", true}, Row{"23:59:60", true},
          Row{"24:00:00", false}, Row{"12:60:00", false}, Row{"12:00:61", false},
          Row{"12-00-00", false}, Row{"1a:00:00", false}, Row{"12:00:0 ", false},
          Row{" 2:00:00", false}, Row{"", false}, Row{"99:99:99", false}, Row{"12:00:/0", false}}) {
        EXPECT_EQ(isValidHeure(ombrelis::engine::heureFromText(row.text)), row.valid) << row.text;
    }
}

TEST(CheckFigures, DurationIntervalsAndExtremesWithTheirRecords) {
    const CheckReport r =
        checkLog(LogView(logBytes({rec(2000, "10:00:00", 0), rec(1500, "10:00:00", 100),
                                   rec(3000, "10:00:00", 350), rec(1500, "10:00:01", 400)})));
    EXPECT_EQ(r.records, 4u);
    EXPECT_EQ(r.durationMs, 400);
    EXPECT_NEAR(r.meanIntervalMs, 400.0 / 3, 1e-9);
    EXPECT_EQ(r.largestIntervalMs, 250);
    EXPECT_EQ(r.largestIntervalRecord, 3u);
    EXPECT_EQ(r.smallestValeur, 1500);
    EXPECT_EQ(r.smallestValeurRecord, 2u); // the first of two equal smallest
    EXPECT_EQ(r.largestValeur, 3000);
    EXPECT_EQ(r.largestValeurRecord, 3u);
    EXPECT_EQ(r.firstHeure, "10:00:00");
    EXPECT_EQ(r.lastHeure, "10:00:01");
}

TEST(CheckFigures, IntervalsSpanTheWholeThirtyTwoBitRangeAndEveryFaultIsCounted) {
    const CheckReport r = checkLog(LogView(logBytes(
        {rec(0, "10:00:00", 0), rec(-1, "10h00m00", -2147483647 - 1), rec(4096, "", 2147483647)})));
    EXPECT_EQ(r.largestIntervalMs, 4294967295LL);
    EXPECT_EQ(r.durationMs, 2147483647);
    EXPECT_EQ(r.tempsDecreases, 1u);
    EXPECT_EQ(r.valeursOutOfRange, 2u);
    EXPECT_EQ(r.badHeures, 2u);
}

TEST(CheckReportText, SaysSoundOrWhereAndWhyItIsDamaged) {
    const std::string sound = reportText(checkLog(LogView(logBytes(soundRun(11)))), "run.dat");
    EXPECT_NE(sound.find("154 octets : 11 mesures entières"), std::string::npos) << sound;
    EXPECT_NE(sound.find("1,000 s, de 14:05:09 à 14:05:10"), std::string::npos) << sound;
    EXPECT_NE(sound.find("moyen 100,0 ms, le plus long 100 ms"), std::string::npos) << sound;
    EXPECT_NE(sound.find("la plus petite 1024 (1,024 V, mesure 1), la plus grande 1094 (1,094 V, "
                         "mesure 11)"),
              std::string::npos)
        << sound;
    EXPECT_NE(sound.find("verdict     SAIN\n"), std::string::npos) << sound;

    const std::string cut = reportText(checkLog(LogView(logBytes(soundRun(2), 6))), "cut.dat");
    EXPECT_NE(cut.find("puis une mesure incomplète de 6 octets"), std::string::npos) << cut;
    EXPECT_NE(cut.find("ENDOMMAGÉ à partir de la mesure 3 : le fichier s'arrête après 6 octets"),
              std::string::npos)
        << cut;

    const std::string empty = reportText(checkLog(LogView({})), "empty.dat");
    EXPECT_NE(empty.find("aucune mesure"), std::string::npos) << empty;
    EXPECT_NE(empty.find("SAIN, mais vide"), std::string::npos) << empty;
}

TEST(CheckReportText, DurationsReadAsSecondsAndAsClockTimeFromAMinuteOn) {
    struct Row {
        std::int64_t ms;
        const char* text;
    };
    for (const Row row :
         {Row{0, "0,000 s"}, Row{59999, "59,999 s"}, Row{60000, "60,000 s (0:01:00,000)"},
          Row{3725500, "3725,500 s (1:02:05,500)"}, Row{-1500, "-1,500 s"},
          Row{4294967295LL, "4294967,295 s (1193:02:47,295)"}}) {
        EXPECT_EQ(durationText(row.ms), row.text);
    }
}

} // namespace

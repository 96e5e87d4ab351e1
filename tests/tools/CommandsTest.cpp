#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <ombrelis/logtool/Commands.h>
#include <ombrelis/testing/LogBytes.h>
#include <ombrelis/testing/RunHarness.h>
#include <ombrelis/testing/TempDir.h>
#include <sstream>
#include <sys/stat.h>

using namespace ombrelis::logtool;
using ombrelis::testing::fileBytes;
using ombrelis::testing::garbage;
using ombrelis::testing::logBytes;
using ombrelis::testing::soundRun;
using ombrelis::testing::TempDir;

namespace {

/// Runs the tool in this process; the picture maker only notes what it was asked.
class ToolRun : public ::testing::Test {
protected:
    std::string write(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const std::string path = dir.file(name);
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }

    int run(const std::vector<std::string>& args) {
        out.str("");
        err.str("");
        return runTool(args, out, err, [this](const PlotTrace& trace, const PlotRequest& request) {
            plotted.push_back(request);
            plottedRecords = trace.records();
            return plotFailure;
        });
    }

    TempDir dir;
    std::ostringstream out;
    std::ostringstream err;
    std::vector<PlotRequest> plotted;
    std::size_t plottedRecords = 0;
    std::optional<std::string> plotFailure;
};

TEST_F(ToolRun, CheckExitStatusSaysSoundDamagedOrUnreadable) {
    struct Row {
        const char* name;
        std::vector<std::uint8_t> bytes;
        int status;
    };
    for (const Row& row :
         {Row{"sound.dat", logBytes(soundRun(20)), kExitSound}, Row{"empty.dat", {}, kExitSound},
          Row{"cut.dat", logBytes(soundRun(20), 7), kExitDamaged},
          Row{"garbage.dat", garbage(333), kExitDamaged}}) {
        const std::string path = write(row.name, row.bytes);
        EXPECT_EQ(run({"check", path}), row.status) << row.name << "\n" << out.str();
        EXPECT_NE(out.str().find(path), std::string::npos);
        EXPECT_EQ(err.str(), "");
        EXPECT_EQ(fileBytes(path), row.bytes) << "the input was changed";
    }
    EXPECT_EQ(run({"check", dir.file("missing.dat")}), kExitFailed);
    EXPECT_EQ(err.str(), "ombrelis-log : impossible de lire le fichier « " +
                             dir.file("missing.dat") +
                             " » : aucun fichier ou dossier de ce nom.\n");
    EXPECT_EQ(run({"check", dir.path().string()}), kExitFailed);
    EXPECT_NE(err.str().find(" » : c'est un dossier.\n"), std::string::npos) << err.str();
    EXPECT_EQ(run({"check"}), kExitFailed);
    EXPECT_NE(err.str().find("Essayez « ombrelis-log --help »"), std::string::npos) << err.str();
    EXPECT_EQ(run({"--help"}), kExitSound);
    EXPECT_NE(out.str().find("Utilisation :"), std::string::npos);
}

TEST_F(ToolRun, CsvGoesToTheOutputFileOrStandardOutput) {
    const std::string input = write("run.dat", logBytes(soundRun(3), 5));
    const std::string expected = "record,valeur,heure,temps_ms,tension_v\n"
                                 "1,1024,14:05:09,0,1.024\n"
                                 "2,1031,14:05:09,100,1.031\n"
                                 "3,1038,14:05:09,200,1.038\n";
    ASSERT_EQ(run({"csv", input}), kExitSound);
    EXPECT_EQ(out.str(), expected);
    EXPECT_NE(err.str().find("mesure incomplète (mesure 4, 5 octets sur 14)"), std::string::npos)
        << err.str();

    const std::string output = dir.file("relevé ж.csv"); // outside any Windows code page
    ASSERT_EQ(run({"csv", input, "-o", output}), kExitSound);
    EXPECT_EQ(out.str(), "");
    std::ifstream written(std::filesystem::path(std::u8string(output.begin(), output.end())));
    const std::string text{std::istreambuf_iterator<char>(written), {}};
    EXPECT_EQ(text, expected);

    const std::string unwritable = dir.file("no/such/folder/run.csv");
    EXPECT_EQ(run({"csv", input, "-o", unwritable}), kExitFailed);
    EXPECT_EQ(err.str(), "ombrelis-log : impossible d'écrire dans le fichier « " + unwritable +
                             " » : aucun fichier ou dossier de ce nom.\n");
}

TEST_F(ToolRun, AnOutputThatIsTheInputUnderAnyNameIsRefused) {
    const std::vector<std::uint8_t> bytes = logBytes(soundRun(4));
    const std::string input = write("run.dat", bytes);
    const std::string hard = dir.file("hard.dat");
    std::filesystem::create_hard_link(input, hard);
#ifdef _WIN32
    const std::string link = hard; // libstdc++ makes no symbolic links on Windows
#else
    const std::string link = dir.file("link.dat");
    std::filesystem::create_symlink(input, link);
#endif
    const std::string dotted = (dir.path() / "." / "run.dat").string();
    for (const std::string& output : {input, link, hard, dotted}) {
        EXPECT_EQ(run({"csv", input, "-o", output}), kExitFailed) << output;
        EXPECT_NE(err.str().find("c'est le fichier lu"), std::string::npos) << err.str();
        EXPECT_EQ(run({"plot", link, "-o", output}), kExitFailed) << output;
        EXPECT_EQ(run({"xlsx", hard, "-o", output}), kExitFailed) << output;
        EXPECT_EQ(fileBytes(input), bytes);
    }
    EXPECT_TRUE(plotted.empty());
}

TEST_F(ToolRun, PlotAsksForTheWholeRunWithATitleAndReportsAFailedWrite) {
    const std::string input = write("run.dat", logBytes(soundRun(11), 2));
    ASSERT_EQ(run({"plot", input, "-o", dir.file("p.png"), "--width", "640", "--height", "480"}),
              kExitSound);
    ASSERT_EQ(plotted.size(), 1u);
    EXPECT_EQ(plotted[0].title, "run.dat — 11 mesures — 1,000 s");
    EXPECT_EQ(plotted[0].width, 640);
    EXPECT_EQ(plotted[0].height, 480);
    EXPECT_EQ(plotted[0].outputPath, dir.file("p.png"));
    EXPECT_EQ(plottedRecords, 11u);
    EXPECT_NE(err.str().find("mesure incomplète"), std::string::npos);

    plotFailure = "permission refusée";
    EXPECT_EQ(run({"plot", input, "-o", dir.file("p.png")}), kExitFailed);
    EXPECT_NE(err.str().find("impossible d'écrire dans le fichier « " + dir.file("p.png") +
                             " » : permission refusée."),
              std::string::npos)
        << err.str();
}

#ifdef OMBRELIS_HAS_XLSX
// A workbook that cannot be written leaves nothing behind (LibreOffice reads a written one:
// spreadsheet_round_trip.py).
TEST_F(ToolRun, AWorkbookGoesOnlyIntoAPlainFileAndLeavesNothingOnFailure) {
    const std::string input = write("run.dat", logBytes(soundRun(3)));
    for (const auto& [output, why] :
         {std::pair(dir.file("no/run.xlsx"), "aucun fichier ou dossier de ce nom"),
          std::pair(dir.path().string(), "c'est un dossier")}) {
        EXPECT_EQ(run({"xlsx", input, "-o", output}), kExitFailed);
        EXPECT_EQ(err.str(), "ombrelis-log : impossible d'écrire dans le fichier « " + output +
                                 " » : " + why + ".\n");
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1) << "run.dat";

    // Through a link, the file it leads to is written and the link stays; a link to a pipe is
    // refused, not replaced.
    const std::string target = write("old.xlsx", {1, 2, 3});
    std::filesystem::create_symlink(target, dir.file("link.xlsx"));
    ASSERT_EQ(run({"xlsx", input, "-o", dir.file("link.xlsx")}), kExitSound) << err.str();
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.xlsx")));
    EXPECT_EQ(fileBytes(target).at(0), 'P') << "a zip archive";
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0600), 0);
    std::filesystem::create_symlink(dir.file("pipe"), dir.file("stdout"));
    EXPECT_EQ(run({"xlsx", input, "-o", dir.file("stdout")}), kExitFailed);
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("stdout")));
}
#endif

} // namespace

#include <gtest/gtest.h>
#include <ombrelis/logtool/CommandLine.h>

using namespace ombrelis::logtool;

namespace {

using Args = std::vector<std::string>;

TEST(CommandLine, ReadsEachCommandWithItsOptionsInAnyOrder) {
    struct Row {
        Args args;
        Action action;
        std::string input;
        std::optional<std::string> output;
        int width;
        int height;
    };
    for (const Row& row : {
             Row{{"check", "a.dat"}, Action::Check, "a.dat", std::nullopt, 1200, 600},
             Row{{"csv", "a.dat"}, Action::Csv, "a.dat", std::nullopt, 1200, 600},
             Row{{"csv", "-o", "a.csv", "a.dat"}, Action::Csv, "a.dat", "a.csv", 1200, 600},
             Row{{"csv", "a.dat", "--output=a.csv"}, Action::Csv, "a.dat", "a.csv", 1200, 600},
             Row{{"plot", "a.dat", "-o", "p.png"}, Action::Plot, "a.dat", "p.png", 1200, 600},
             Row{{"plot", "--width", "800", "a.dat", "--height=300", "-o", "p.png"},
                 Action::Plot,
                 "a.dat",
                 "p.png",
                 800,
                 300},
             Row{{"check", "--", "-odd name.dat"},
                 Action::Check,
                 "-odd name.dat",
                 std::nullopt,
                 1200,
                 600},
             Row{{"check", "a.dat", "--help"}, Action::Help, "", std::nullopt, 1200, 600},
             Row{{"-h"}, Action::Help, "", std::nullopt, 1200, 600},
             Row{{"csv", "-"}, Action::Csv, "-", std::nullopt, 1200, 600},
             Row{{"xlsx", "a.dat", "-o", "a.xlsx"}, Action::Xlsx, "a.dat", "a.xlsx", 1200, 600},
         }) {
        const Command c = parseCommandLine(row.args);
        EXPECT_EQ(c.action, row.action) << row.args[0];
        EXPECT_EQ(c.input, row.input);
        EXPECT_EQ(c.output, row.output);
        EXPECT_EQ(c.width, row.width);
        EXPECT_EQ(c.height, row.height);
        EXPECT_FALSE(c.follow);
        EXPECT_FALSE(c.tableur);
    }
    EXPECT_TRUE(parseCommandLine({"csv", "--follow", "a.dat"}).follow);
    const Command both = parseCommandLine({"csv", "a.dat", "--tableur", "-f"});
    EXPECT_TRUE(both.tableur && both.follow);
}

TEST(CommandLine, RefusesWhatItCannotDoAndSaysWhy) {
    struct Row {
        Args args;
        const char* why;
    };
    for (const Row& row : {
             Row{{}, "aucune commande"},
             Row{{"show", "a.dat"}, "commande inconnue « show »"},
             Row{{"check"}, "check demande le fichier de mesures"},
             Row{{"check", "a.dat", "b.dat"}, "argument en trop « b.dat »"},
             Row{{"check", "a.dat", "-o", "x"}, "il ne prend pas -o"},
             Row{{"check", "a.dat", "-x"}, "option inconnue « -x »"},
             Row{{"csv", "a.dat", "-o"}, "-o demande une valeur"},
             Row{{"csv", "a.dat", "--output="}, "-o demande un nom de fichier"},
             Row{{"csv", "a.dat", "--width", "800"}, "ne servent qu'à plot"},
             Row{{"plot", "a.dat"}, "plot demande -o"},
             Row{{"xlsx", "a.dat"}, "xlsx demande -o SORTIE.xlsx"},
             Row{{"xlsx", "--tableur", "a.dat", "-o", "a.xlsx"}, "--tableur ne sert qu'à csv"},
             Row{{"check", "-f", "a.dat"}, "--follow ne sert qu'à csv"},
             Row{{"csv", "--follow", "-"}, "l'entrée standard se lit jusqu'au bout"},
             Row{{"plot", "a.dat", "-o", "p.png", "--width", "12"}, "--width demande"},
             Row{{"plot", "a.dat", "-o", "p.png", "--height", "9000"}, "--height demande"},
             Row{{"plot", "a.dat", "-o", "p.png", "--width", "800px"}, "et non « 800px »"},
             Row{{"plot", "a.dat", "-o", "p.png", "--width", "99999999999"}, "--width demande"},
         }) {
        try {
            parseCommandLine(row.args);
            ADD_FAILURE() << "accepted: " << (row.args.empty() ? "" : row.args[0]);
        } catch (const UsageError& e) {
            EXPECT_NE(std::string(e.what()).find(row.why), std::string::npos) << e.what();
        }
    }
}

} // namespace

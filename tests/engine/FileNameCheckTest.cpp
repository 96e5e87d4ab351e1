#include <gtest/gtest.h>
#include <ombrelis/engine/FileNameCheck.h>
#include <ombrelis/testing/CaseNames.h>

namespace {

struct NameCase {
    const char* name;
    std::string fileName;
    const char* told; ///< nullptr: the name is fine
};

class FileNameCheck : public ::testing::TestWithParam<NameCase> {};

TEST_P(FileNameCheck, RefusesControlCharactersNamingWhichAndWhere) {
    const NameCase& c = GetParam();
    const auto problem = ombrelis::engine::fileNameProblem(c.fileName);
    if (c.told == nullptr) {
        EXPECT_FALSE(problem) << *problem;
    } else {
        ASSERT_TRUE(problem);
        EXPECT_NE(problem->find(c.told), std::string::npos) << *problem;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNameCheck,
    ::testing::Values(NameCase{"line_feed_after_accents", "relevé été.dat\n",
                               "saut de ligne (U+000A) en position 15"},
                      NameCase{"carriage_return", "ab\rcd.dat",
                               "retour chariot (U+000D) en position 3"},
                      NameCase{"tab", "\tmesures.dat", "tabulation (U+0009) en position 1"},
                      NameCase{"nul", std::string("a\0b", 3), "caractère de contrôle (U+0000)"},
                      NameCase{"unit_separator", "a\x1f", "caractère de contrôle (U+001F)"},
                      NameCase{"delete", "a\x7f", "effacement (DEL) (U+007F)"},
                      NameCase{"blank_and_symbols", " ~!#$%^&()[]{};'@=+,-_ é€", nullptr},
                      NameCase{"path", "/tmp/mesures 1.dat", nullptr}),
    ombrelis::testing::NamedAfterName{});

} // namespace

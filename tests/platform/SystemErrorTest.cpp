#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <ombrelis/platform/SystemError.h>
#include <ombrelis/testing/CaseNames.h>

namespace ombrelis::platform {
namespace {

struct ReasonCase {
    int errorNumber;
    const char* reason;
    friend void PrintTo(const ReasonCase& c, std::ostream* os) {
        *os << strerrorname_np(c.errorNumber);
    }
};

class FrenchReasonTest : public ::testing::TestWithParam<ReasonCase> {};

TEST_P(FrenchReasonTest, GivesTheFrenchText) {
    EXPECT_EQ(frenchReason(GetParam().errorNumber), GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    CommonErrors, FrenchReasonTest,
    ::testing::Values(ReasonCase{ENOSPC, "plus de place sur le périphérique"},
                      ReasonCase{EACCES, "permission refusée"},
                      ReasonCase{EPERM, "opération non permise"},
                      ReasonCase{ENOENT, "aucun fichier ou dossier de ce nom"},
                      ReasonCase{EEXIST, "le fichier existe déjà"},
                      ReasonCase{EISDIR, "c'est un dossier"},
                      ReasonCase{EROFS, "système de fichiers en lecture seule"},
                      ReasonCase{EFBIG, "fichier trop volumineux"},
                      ReasonCase{EBUSY, "périphérique ou ressource occupé"},
                      ReasonCase{EIO, "erreur d'entrée/sortie"},
                      ReasonCase{ENOTTY, "opération inappropriée pour ce périphérique"},
                      ReasonCase{EDQUOT, "quota de disque dépassé"}),
    testing::NamedAfterValue{});

// Every reason is spliced into "<action> : <reason>." so it must fit there for any errno; an
// unknown number is still French, and named.
TEST(FrenchReason, EveryReasonFitsInsideASentenceAndNamesUnknownNumbers) {
    for (int e = 1; e < 200; ++e) {
        const std::string reason = frenchReason(e);
        ASSERT_FALSE(reason.empty()) << e;
        EXPECT_NE(reason.back(), '.') << e << ": " << reason;
        EXPECT_NE(reason.back(), '\n') << e << ": " << reason;
    }
    EXPECT_EQ(frenchReason(987654).rfind("erreur système n° 987654", 0), 0u);
}

TEST(SystemErrorTest, SentenceIsActionColonReasonFullStop) {
    const SystemError e("Impossible de créer le fichier « a.dat »", EACCES);
    EXPECT_STREQ(e.what(), "Impossible de créer le fichier « a.dat » : permission refusée.");
    EXPECT_EQ(e.errorNumber(), EACCES);
}

} // namespace
} // namespace ombrelis::platform

#include <cerrno>
#include <filesystem>
#include <ombrelis/testing/ChildProcess.h>
#include <ombrelis/testing/Contains.h>
#include <ombrelis/testing/TempDir.h>

#if defined(__x86_64__) || defined(__i386__)
#include <sys/io.h>
#endif
#include <gtest/gtest.h>
#include <ombrelis/platform/DirectIoPort.h>
#include <ombrelis/platform/ParallelPort.h>
#include <ombrelis/platform/PpdevPort.h>
#include <ombrelis/testing/CaseNames.h>

namespace ombrelis::platform {
namespace {

namespace fs = std::filesystem;
using testing::ChildUser;
using testing::contains;
using testing::runInChild;
using testing::TempDir;
using testing::writeTextFile;

struct ChoiceCase {
    PortFacts facts;
    PortBackend expected;
    friend void PrintTo(const ChoiceCase& c, std::ostream* os) {
        *os << (c.facts.onWindows ? "windows"
                : c.facts.onLinux ? "linux"
                                  : "other_system")
            << (c.facts.onX86 ? "_x86" : "_other_cpu")
            << (c.facts.parportDevicePresent ? "_with_device" : "_without_device");
    }
};

class ChoosePortBackendTest : public ::testing::TestWithParam<ChoiceCase> {};

TEST_P(ChoosePortBackendTest, PicksTheBackend) {
    EXPECT_EQ(choosePortBackend(GetParam().facts), GetParam().expected);
}

// Facts: {windows, linux, x86, device present}.
INSTANTIATE_TEST_SUITE_P(
    Machines, ChoosePortBackendTest,
    ::testing::Values(ChoiceCase{{false, true, true, true}, PortBackend::Ppdev},
                      ChoiceCase{{false, true, false, true}, PortBackend::Ppdev},
                      ChoiceCase{{false, true, true, false}, PortBackend::DirectIo},
                      ChoiceCase{{false, true, false, false}, PortBackend::Unavailable},
                      ChoiceCase{{true, false, true, false}, PortBackend::InpOut},
                      ChoiceCase{{true, false, false, false}, PortBackend::InpOut},
                      ChoiceCase{{false, false, true, false}, PortBackend::Unavailable},
                      ChoiceCase{{false, false, true, true}, PortBackend::Unavailable}),
    testing::NamedAfterValue{});

TEST(PortRegistersTest, OnlyDataWritesAndStatusReadsAreAllowed) {
    EXPECT_NO_THROW(requireDataRegister(888));
    EXPECT_NO_THROW(requireStatusRegister(889));
    for (std::uint16_t port : {0, 887, 889, 890, 0x278, 0xFFFF}) {
        EXPECT_THROW(requireDataRegister(port), PortError) << port;
    }
    for (std::uint16_t port : {0, 888, 890, 0x279, 0xFFFF}) {
        EXPECT_THROW(requireStatusRegister(port), PortError) << port;
    }
    try {
        requireDataRegister(890);
    } catch (const PortError& e) {
        EXPECT_TRUE(contains(e.what(), "890")) << e.what();
    }
}

struct HintCase {
    PpdevStep step;
    int errorNumber;
    const char* expected;
    friend void PrintTo(const HintCase& c, std::ostream* os) {
        const char* const steps[] = {"Open", "Exclusive", "Claim", "Write", "Read"};
        *os << steps[static_cast<int>(c.step)] << '_' << strerrorname_np(c.errorNumber);
    }
};

class PpdevMessageTest : public ::testing::TestWithParam<HintCase> {};

TEST_P(PpdevMessageTest, SaysWhatFailedWhyAndWhatToDo) {
    EXPECT_EQ(ppdevFailureMessage(GetParam().step, "/dev/parport0", GetParam().errorNumber),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, PpdevMessageTest,
    ::testing::Values(
        HintCase{PpdevStep::Open, EACCES,
                 "Impossible d'ouvrir le port parallèle /dev/parport0 : permission refusée. "
                 "Ajoutez l'utilisateur au groupe lp."},
        HintCase{PpdevStep::Open, ENOENT,
                 "Impossible d'ouvrir le port parallèle /dev/parport0 : aucun fichier ou dossier "
                 "de ce nom. Chargez le module ppdev (modprobe ppdev)."},
        HintCase{PpdevStep::Open, ENXIO,
                 "Impossible d'ouvrir le port parallèle /dev/parport0 : périphérique absent. "
                 "Chargez le module ppdev (modprobe ppdev)."},
        HintCase{PpdevStep::Claim, EBUSY,
                 "Impossible de prendre la main sur le port parallèle /dev/parport0 : "
                 "périphérique ou ressource occupé. Le pilote d'imprimante tient le port : "
                 "déchargez le module lp (rmmod lp)."},
        HintCase{PpdevStep::Claim, ENXIO,
                 "Impossible de prendre la main sur le port parallèle /dev/parport0 : "
                 "périphérique absent. Le pilote d'imprimante tient peut-être le port : "
                 "déchargez le module lp (rmmod lp)."},
        HintCase{PpdevStep::Exclusive, ENOTTY,
                 "Impossible de réserver le port parallèle /dev/parport0 pour ce seul programme "
                 ": opération inappropriée pour ce périphérique. Ce fichier n'est pas un port "
                 "parallèle."},
        HintCase{PpdevStep::Write, EIO,
                 "Impossible d'écrire sur le port parallèle /dev/parport0 : erreur "
                 "d'entrée/sortie."},
        HintCase{PpdevStep::Read, EIO,
                 "Impossible de lire le port parallèle /dev/parport0 : erreur "
                 "d'entrée/sortie."}),
    testing::NamedAfterValue{});

/// The open descriptors of this process, to see that a failed open leaks none.
std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

std::string ppdevError(const std::string& device) {
    try {
        PpdevPort port(device);
    } catch (const PortError& e) {
        return e.what();
    }
    return "no error";
}

TEST(PpdevPortTest, MissingDeviceIsAFrenchPortError) {
    TempDir dir;
    const std::string device = dir / "parport9";
    EXPECT_EQ(ppdevError(device), ppdevFailureMessage(PpdevStep::Open, device, ENOENT));
}

TEST(PpdevPortTest, AFileThatIsNoPortIsRefusedAtTheExclusiveClaimAndClosed) {
    TempDir dir;
    const std::string device = dir / "not-a-port";
    writeTextFile(device, "");
    const std::size_t before = openDescriptors();
    EXPECT_EQ(ppdevError(device), ppdevFailureMessage(PpdevStep::Exclusive, device, ENOTTY));
    EXPECT_EQ(openDescriptors(), before);
}

TEST(PpdevPortTest, ADeviceWithoutAccessRightsAsksForGroupLp) {
    TempDir dir;
    fs::permissions(dir.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    const std::string device = dir / "parport0";
    writeTextFile(device, "");
    fs::permissions(device, fs::perms::none);

    const std::string report = runInChild(ChildUser::Unprivileged, [&]() -> std::string {
        const std::string what = ppdevError(device);
        return what == ppdevFailureMessage(PpdevStep::Open, device, EACCES) ? "" : what;
    });
    EXPECT_EQ(report, "");
}

TEST(DirectIoPortTest, RefusalsSayWhatIsMissing) {
    const std::string noPermission = directIoFailureMessage(EPERM);
    EXPECT_TRUE(contains(noPermission, "opération non permise")) << noPermission;
    EXPECT_TRUE(contains(noPermission, "CAP_SYS_RAWIO")) << noPermission;
    EXPECT_TRUE(contains(noPermission, "groupe lp")) << noPermission;

    const std::string noSupport = directIoFailureMessage(ENOSYS);
    EXPECT_TRUE(contains(noSupport, "modprobe ppdev")) << noSupport;
    EXPECT_FALSE(contains(noSupport, "CAP_SYS_RAWIO")) << noSupport;

    EXPECT_EQ(directIoFailureMessage(EINVAL),
              "Impossible d'obtenir l'accès direct aux ports 0x378 à 0x37A : argument invalide.");
}

#if defined(__x86_64__) || defined(__i386__)
// The kernel refuses ioperm to an unprivileged process with EPERM, or to everyone with ENOSYS
// when it was built without port access; a second call in the child tells which to expect.
TEST(DirectIoPortTest, AnUnprivilegedProcessGetsTheFrenchRefusal) {
    const std::string report = runInChild(ChildUser::Unprivileged, []() -> std::string {
        std::string what;
        try {
            DirectIoPort port;
            return "direct port access was granted without privilege";
        } catch (const PortError& e) {
            what = e.what();
        }
        if (::ioperm(0x378, 3, 1) == 0) {
            return "ioperm granted on the second try";
        }
        const int expected = errno;
        if (expected != EPERM && expected != ENOSYS) {
            return "ioperm refused with errno " + std::to_string(expected);
        }
        return what == directIoFailureMessage(expected) ? "" : what;
    });
    EXPECT_EQ(report, "");
}
#endif

} // namespace
} // namespace ombrelis::platform

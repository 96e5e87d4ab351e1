#include <cerrno>
#include <cstddef>
#include <filesystem>
#include <gtest/gtest.h>
#include <iterator>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <ombrelis/platform/FileSizeLimit.h>
#include <ombrelis/platform/PosixFileSystem.h>
#include <ombrelis/platform/SystemError.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/ChildProcess.h>
#include <ombrelis/testing/Contains.h>
#include <ombrelis/testing/TempDir.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/syscall.h>

namespace ombrelis::platform {
namespace {

namespace fs = std::filesystem;
using testing::ChildUser;
using testing::contains;
using testing::fileBytes;
using testing::recordBytes;
using testing::runInChild;
using testing::TempDir;
using testing::writeTextFile;

constexpr std::size_t kSize = 14;

/// Empty when `e` carries `errorNumber` and its text names `name` and says `reason`.
std::string checkError(const SystemError& e, int errorNumber, const std::string& name,
                       const std::string& reason) {
    const std::string what = e.what();
    if (e.errorNumber() != errorNumber) {
        return "errno " + std::to_string(e.errorNumber()) + " in: " + what;
    }
    if (!contains(what, name) || !contains(what, reason)) {
        return "unexpected text: " + what;
    }
    return {};
}

/// From here on, the system refuses every fsync and fdatasync of this process with EIO.
bool refuseSyncs() {
    sock_filter filter[] = {
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fdatasync, 2, 0),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, __NR_fsync, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ERRNO | EIO),
    };
    const sock_fprog program{static_cast<unsigned short>(std::size(filter)), filter};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

TEST(FileFailureTest, ASyncTheSystemRefusesIsReported) {
    TempDir dir;
    const std::string report = runInChild(ChildUser::Same, [&]() -> std::string {
        PosixFileSystem files;
        auto file = files.createRecords(dir / "log.dat", kSize);
        file->writeRecord(1, recordBytes(1));
        if (!refuseSyncs()) {
            return "skip";
        }
        try {
            file->sync();
        } catch (const SystemError& e) {
            return checkError(e, EIO, dir / "log.dat", "erreur d'entrée/sortie");
        }
        return "the sync never reached the system";
    });
    if (report == "skip") {
        GTEST_SKIP() << "seccomp filters are not available here";
    }
    EXPECT_EQ(report, "");
}

// One component longer than any file system allows (255 bytes).
const std::string kLongNameText(300, 'n');
const char* const kLongName = kLongNameText.c_str();

struct MissingPathCase {
    const char* name;
    const char* entry; ///< inside the temporary folder, which holds a regular file "file"
    int errorNumber;
    const char* reason;
};

class MissingPathTest : public ::testing::TestWithParam<MissingPathCase> {};

TEST_P(MissingPathTest, CreateRecordsSaysWhyInFrench) {
    TempDir dir;
    writeTextFile(dir / "file", "x");
    PosixFileSystem files;
    const std::string name = dir / GetParam().entry;
    try {
        files.createRecords(name, kSize);
        FAIL() << "created " << name;
    } catch (const SystemError& e) {
        EXPECT_EQ(checkError(e, GetParam().errorNumber, name, GetParam().reason), "");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Paths, MissingPathTest,
    ::testing::Values(MissingPathCase{"missing_folder", "absent/log.dat", ENOENT,
                                      "aucun fichier ou dossier de ce nom"},
                      MissingPathCase{"file_as_folder", "file/log.dat", ENOTDIR,
                                      "un élément du chemin n'est pas un dossier"},
                      MissingPathCase{"name_too_long", kLongName, ENAMETOOLONG,
                                      "nom de fichier trop long"}),
    testing::NamedAfterName{});

// Under root, permissions are not checked; the child drops to nobody so that they are.
TEST(FileFailureTest, ReadOnlyFolderRefusesCreateAndRemove) {
    TempDir dir;
    fs::permissions(dir.path(),
                    fs::perms::owner_all | fs::perms::group_exec | fs::perms::others_exec);
    fs::create_directory(dir / "ro");
    writeTextFile(dir / "ro/kept.dat", "keep");
    fs::permissions(dir / "ro", fs::perms::owner_read | fs::perms::owner_exec |
                                    fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);

    const std::string report = runInChild(ChildUser::Unprivileged, [&]() -> std::string {
        PosixFileSystem files;
        try {
            files.createRecords(dir / "ro/log.dat", kSize);
            return "created a file in a read-only folder";
        } catch (const SystemError& e) {
            if (auto bad = checkError(e, EACCES, dir / "ro/log.dat", "permission refusée");
                !bad.empty()) {
                return "create: " + bad;
            }
        }
        try {
            files.holdExisting(dir / "ro/kept.dat")->removeIfUnchanged();
            return "removed a file from a read-only folder";
        } catch (const SystemError& e) {
            if (auto bad = checkError(e, EACCES, dir / "ro/kept.dat", "permission refusée");
                !bad.empty()) {
                return "remove: " + bad;
            }
        }
        return {};
    });
    EXPECT_EQ(report, "");
    EXPECT_FALSE(fs::exists(dir / "ro/log.dat"));
    EXPECT_TRUE(fs::exists(dir / "ro/kept.dat"));
}

// A file-size limit that falls inside record 4 makes its write stop part way, as a disk that
// fills up does. The file must still hold whole records only.
TEST(FileFailureTest, WriteCutShortLeavesWholeRecordsOnly) {
    TempDir dir;
    const std::string name = dir / "log.dat";
    constexpr rlim_t kLimit = 3 * kSize + 5;

    const std::string report = runInChild(ChildUser::Same, [&]() -> std::string {
        writesPastFileSizeLimitFail(); // as the program and the tool do at start
        const rlimit limit{kLimit, kLimit};
        if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) {
            return "setrlimit failed";
        }
        PosixFileSystem files;
        auto file = files.createRecords(name, kSize);
        for (int n = 1; n <= 10; ++n) {
            try {
                file->writeRecord(n, recordBytes(n));
            } catch (const SystemError& e) {
                if (n != 4) {
                    return "record " + std::to_string(n) + " failed: " + e.what();
                }
                return checkError(e, EFBIG, name, "fichier trop volumineux");
            }
        }
        return "no write failed under the size limit";
    });
    EXPECT_EQ(report, "");

    std::vector<std::uint8_t> expected;
    for (int n = 1; n <= 3; ++n) {
        const auto record = recordBytes(n);
        expected.insert(expected.end(), record.begin(), record.end());
    }
    EXPECT_EQ(fileBytes(name).size(), 3 * kSize) << "a part of record 4 stayed in the file";
    EXPECT_EQ(fileBytes(name), expected);
}

} // namespace
} // namespace ombrelis::platform

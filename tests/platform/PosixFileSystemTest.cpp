#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <ombrelis/platform/PosixFileSystem.h>
#include <ombrelis/platform/SystemError.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/TempDir.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrelis::platform {
namespace {

namespace fs = std::filesystem;
using testing::fileBytes;
using testing::TempDir;
using testing::writeTextFile;

constexpr std::size_t kSize = 14;

class PosixFileSystemTest : public ::testing::Test {
protected:
    TempDir dir;
    PosixFileSystem files;
};

struct ProbeCase {
    const char* name;
    std::function<void(const TempDir&)> make; ///< creates what stands under "entry"
    EntryKind expected;
};

class ProbeTest : public PosixFileSystemTest, public ::testing::WithParamInterface<ProbeCase> {};

// The probe sees what stands under the exact name; records are never created over it, whatever
// it is, and what a link leads to is left alone.
TEST_P(ProbeTest, SeesWhatStandsUnderTheExactNameAndCreatesNothingOverIt) {
    GetParam().make(dir);
    EXPECT_EQ(files.probe(dir / "entry"), GetParam().expected);
    if (GetParam().expected == EntryKind::Absent) {
        return;
    }
    const auto before = fileBytes(dir / "target");
    try {
        files.createRecords(dir / "entry", kSize);
        FAIL() << "createRecords opened an existing name";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.errorNumber(), EEXIST);
        EXPECT_NE(std::string(e.what()).find(dir / "entry"), std::string::npos) << e.what();
        EXPECT_NE(std::string(e.what()).find("le fichier existe déjà"), std::string::npos);
    }
    EXPECT_EQ(fileBytes(dir / "target"), before);
    EXPECT_FALSE(fs::exists(dir / "nowhere")) << "a dangling link's target was created";
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ProbeTest,
    ::testing::Values(
        ProbeCase{"absent", [](const TempDir& d) { writeTextFile(d / "entry2", "x"); },
                  EntryKind::Absent},
        ProbeCase{"regular", [](const TempDir& d) { writeTextFile(d / "entry", "x"); },
                  EntryKind::RegularFile},
        ProbeCase{"empty_regular", [](const TempDir& d) { writeTextFile(d / "entry", ""); },
                  EntryKind::RegularFile},
        ProbeCase{"directory", [](const TempDir& d) { fs::create_directory(d / "entry"); },
                  EntryKind::Other},
        ProbeCase{"fifo",
                  [](const TempDir& d) { ASSERT_EQ(::mkfifo((d / "entry").c_str(), 0600), 0); },
                  EntryKind::Other},
        ProbeCase{"dangling_symlink",
                  [](const TempDir& d) { fs::create_symlink(d / "nowhere", d / "entry"); },
                  EntryKind::Other},
        ProbeCase{"symlink_to_regular",
                  [](const TempDir& d) {
                      writeTextFile(d / "target", "x");
                      fs::create_symlink("target", d / "entry");
                  },
                  EntryKind::RegularFile},
        ProbeCase{"symlink_to_directory",
                  [](const TempDir& d) {
                      fs::create_directory(d / "folder");
                      fs::create_symlink("folder", d / "entry");
                  },
                  EntryKind::Other},
        ProbeCase{"symlink_loop",
                  [](const TempDir& d) {
                      fs::create_symlink("other", d / "entry");
                      fs::create_symlink("entry", d / "other");
                  },
                  EntryKind::Other}),
    testing::NamedAfterName{});

TEST_F(PosixFileSystemTest, WildcardsAreLiteralCharacters) {
    writeTextFile(dir / "a.txt", "a");
    writeTextFile(dir / "b.txt", "b");
    EXPECT_EQ(files.probe(dir / "*.*"), EntryKind::Absent);
    EXPECT_EQ(files.probe(dir / "?.txt"), EntryKind::Absent);
    EXPECT_EQ(files.probe(dir / "[ab].txt"), EntryKind::Absent);

    writeTextFile(dir / "*.*", "star");
    EXPECT_EQ(files.probe(dir / "*.*"), EntryKind::RegularFile);
    ASSERT_TRUE(files.holdExisting(dir / "*.*")->removeIfUnchanged());
    EXPECT_EQ(files.probe(dir / "*.*"), EntryKind::Absent);
    EXPECT_EQ(files.probe(dir / "a.txt"), EntryKind::RegularFile);
    EXPECT_EQ(files.probe(dir / "b.txt"), EntryKind::RegularFile);
}

TEST_F(PosixFileSystemTest, CreateRecordsMakesAnEmptyFileUnderTheWritersLock) {
    auto file = files.createRecords(dir / "log.dat", kSize);
    EXPECT_EQ(fs::file_size(dir / "log.dat"), 0u);
    fs::create_symlink("log.dat", dir / "alias");
    // Every other open of the file is refused the lock, in this process as in another.
    EXPECT_THROW(files.holdExisting(dir / "log.dat"), FileLocked);
    EXPECT_THROW(files.holdExisting(dir / "alias"), FileLocked);
    file->close();
    const auto held = files.holdExisting(dir / "alias");
    ASSERT_NE(held, nullptr);
    EXPECT_THROW(files.holdExisting(dir / "log.dat"), FileLocked);
}

TEST_F(PosixFileSystemTest, HoldingAnAbsentNameFails) {
    try {
        files.holdExisting(dir / "absent.dat");
        FAIL() << "held an absent file";
    } catch (const SystemError& e) {
        EXPECT_EQ(e.errorNumber(), ENOENT);
        EXPECT_NE(std::string(e.what()).find("absent.dat"), std::string::npos);
    }
}

} // namespace
} // namespace ombrelis::platform

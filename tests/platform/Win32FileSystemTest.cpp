#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <ombrelis/platform/SystemError.h>
#include <ombrelis/platform/Win32FileSystem.h>
#include <ombrelis/platform/WindowsText.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/Contains.h>
#include <ombrelis/testing/TempDir.h>
#include <windows.h>

namespace ombrelis::platform {
namespace {

namespace fs = std::filesystem;
using testing::contains;
using testing::fileBytes;
using testing::recordBytes;
using testing::TempDir;
using testing::writeTextFile;

constexpr std::size_t kSize = 14;

/// The error a call throws, "" when it throws none.
std::string failureOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const SystemError& e) {
        return e.what();
    }
    return "";
}

/// `entry` in the folder, in UTF-8 (narrow file calls would take the ANSI code page).
std::string in(const TempDir& dir, const std::string& entry) {
    return dir.path().string() + "\\" + entry;
}

void regular(const std::string& name) {
    std::ofstream(fs::path(toUtf16(name, ""))) << "x";
}

/// How a delete through holdExisting ends: "" (gone), "not held", "kept" or the error.
std::string removal(FileSystem& files, const std::string& name) {
    try {
        const auto held = files.holdExisting(name);
        return !held ? "not held" : held->removeIfUnchanged() ? "" : "kept";
    } catch (const SystemError& e) {
        return e.what();
    }
}

/// What another program gets when it asks for `access` to `name`, sharing everything.
DWORD openError(const std::string& name, DWORD access) {
    const HANDLE h = ::CreateFileW(toUtf16(name, "").c_str(), access,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr);
    const DWORD error = h == INVALID_HANDLE_VALUE ? ::GetLastError() : ERROR_SUCCESS;
    if (h != INVALID_HANDLE_VALUE) {
        ::CloseHandle(h);
    }
    return error;
}

class Win32FileSystemTest : public ::testing::Test {
protected:
    TempDir dir;
    Win32FileSystem files;
};

struct EntryCase {
    const char* name;
    const char* entry;
    std::function<void(const std::string&)> make;
    EntryKind kind;
    const char* removal; ///< how a delete ends (see removal()), "" when it deletes it
};

class EntryTest : public Win32FileSystemTest, public ::testing::WithParamInterface<EntryCase> {};

TEST_P(EntryTest, ProbeSeesItAndOnlyRegularFilesAreHeldAndDeleted) {
    const std::string name = in(dir, GetParam().entry);
    GetParam().make(name);
    writeTextFile(dir / "other.dat", "keep");
    EXPECT_EQ(files.probe(name), GetParam().kind);
    const std::string refusal = removal(files, name);
    EXPECT_TRUE(contains(refusal, GetParam().removal)) << refusal;
    if (refusal.empty()) {
        EXPECT_EQ(files.probe(name), EntryKind::Absent);
    }
    EXPECT_EQ(fileBytes(dir / "other.dat").size(), 4u);
}

void nothing(const std::string&) {}

INSTANTIATE_TEST_SUITE_P(
    Entries, EntryTest,
    ::testing::Values(
        EntryCase{"absent", "mesures.dat", nothing, EntryKind::Absent, "aucun fichier"},
        EntryCase{"regular", "mesures.dat", regular, EntryKind::RegularFile, ""},
        EntryCase{"hidden", "cache.dat",
                  [](const std::string& name) {
                      regular(name);
                      ::SetFileAttributesW(toUtf16(name, "").c_str(), FILE_ATTRIBUTE_HIDDEN);
                  },
                  EntryKind::RegularFile, ""},
        EntryCase{"utf8_name", "mesures-été-Ω.dat", regular, EntryKind::RegularFile, ""},
        EntryCase{"folder", "dossier.dat",
                  [](const std::string& name) { fs::create_directory(name); }, EntryKind::Other,
                  "not held"},
        EntryCase{"nul", "NUL", nothing, EntryKind::Other, "c'est un périphérique"},
        EntryCase{"nul_with_extension", "nul.txt", nothing, EntryKind::Other, "périphérique"},
        EntryCase{"com1", "COM1", nothing, EntryKind::Other, "périphérique"},
        EntryCase{"lpt1_with_extension", "Lpt1.dat", nothing, EntryKind::Other, "périphérique"}),
    testing::NamedAfterName{});

TEST_F(Win32FileSystemTest, WildcardsAreRefusedNeverMatched) {
    writeTextFile(dir / "a.txt", "a");
    writeTextFile(dir / "b.txt", "b");
    for (const std::string& name : {dir / "*.txt", dir / "?.txt"}) {
        const std::string reason =
            "« " + name + " » : nom de fichier incorrect (les caractères * ?";
        EXPECT_TRUE(contains(failureOf([&] { files.probe(name); }), reason)) << name;
        EXPECT_TRUE(contains(removal(files, name), reason)) << name;
        EXPECT_TRUE(contains(failureOf([&] { files.createRecords(name, kSize); }), reason)) << name;
    }
    EXPECT_EQ(files.probe(dir / "a.txt"), EntryKind::RegularFile);
    EXPECT_EQ(files.probe(dir / "b.txt"), EntryKind::RegularFile);
}

TEST_F(Win32FileSystemTest, CreatesTheExactUtf8NameAndNeverOverAnything) {
    const std::string name = in(dir, "relevé-Ω.dat");
    auto file = files.createRecords(name, kSize);
    EXPECT_TRUE(fs::exists(dir.path() / fs::path(L"relev\u00e9-\u03a9.dat")));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1);
    file->close();

    fs::create_directory(dir / "dossier");
    for (const std::string& taken : {name, dir / "dossier"}) {
        EXPECT_TRUE(
            contains(failureOf([&] { files.createRecords(taken, kSize); }),
                     "Impossible de créer le fichier « " + taken + " » : le fichier existe déjà."));
    }
    EXPECT_TRUE(contains(failureOf([&] { files.createRecords(dir / "absent/a.dat", kSize); }),
                         "chemin d'accès introuvable"));
}

TEST_F(Win32FileSystemTest, WhileHeldOthersMayReadButNeitherWriteNorDelete) {
    const std::string name = dir / "log.dat";
    auto file = files.createRecords(name, kSize);
    file->writeRecord(1, recordBytes(1));
    EXPECT_EQ(openError(name, GENERIC_WRITE), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_THROW(Win32FileSystem().holdExisting(name), FileLocked);
    EXPECT_EQ(fileBytes(name).size(), kSize);
    file->close();

    // Held to be deleted: a reader must share the deletion too, as a follower does.
    const auto held = files.holdExisting(name);
    ASSERT_NE(held, nullptr);
    EXPECT_EQ(openError(name, GENERIC_WRITE), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_THROW(Win32FileSystem().holdExisting(name), FileLocked);
    EXPECT_EQ(openError(name, GENERIC_READ), static_cast<DWORD>(ERROR_SUCCESS));
}

// The name of a held file cannot change under it; the folder above can be moved, under Wine.
TEST_F(Win32FileSystemTest, RemoveIfUnchangedDeletesOnlyTheFileThatWasHeld) {
    fs::create_directory(dir / "run");
    writeTextFile(dir / "run/log.dat", "older");
    auto held = files.holdExisting(dir / "run/log.dat");
    if (!::MoveFileW(toUtf16(dir / "run", "").c_str(), toUtf16(dir / "moved", "").c_str())) {
        GTEST_SKIP() << "the folder of a held file cannot be moved here";
    }
    fs::create_directory(dir / "run");
    writeTextFile(dir / "run/log.dat", "new");
    EXPECT_FALSE(held->removeIfUnchanged());
    held.reset();
    EXPECT_EQ(fileBytes(dir / "run/log.dat").size(), 3u);
    EXPECT_EQ(fileBytes(dir / "moved/log.dat").size(), 5u);
}

// Every reason is spliced into "<action> : <reason>." so it must fit there for any code.
TEST(Win32Reason, EveryReasonFitsInsideASentenceAndNamesUnknownCodes) {
    for (int code = 1; code < 1400; ++code) {
        const std::string reason = frenchReason(code);
        ASSERT_FALSE(reason.empty()) << code;
        EXPECT_NE(reason.back(), '.') << code << ": " << reason;
        EXPECT_NE(reason.back(), '\n') << code << ": " << reason;
    }
    EXPECT_EQ(frenchReason(987654).rfind("erreur système n° 987654", 0), 0u);
}

} // namespace
} // namespace ombrelis::platform

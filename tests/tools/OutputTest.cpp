// The tool's whole-file output: every byte under the name, or the system's reason in French
// and no temporary file left behind.
#include <filesystem>
#include <gtest/gtest.h>
#include <ombrelis/logtool/Output.h>
#include <ombrelis/testing/CaseNames.h>
#include <ombrelis/testing/TempDir.h>
#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace ombrelis::logtool {
namespace {

struct OutputCase {
    const char* name;
    /// In a folder holding the file old.png and the folder dir (and the link link.png to old.png
    /// and the pipe pipe, with a reader, outside Windows).
    const char* target;
    std::optional<std::string> reason; ///< absent: written
    friend void PrintTo(const OutputCase& c, std::ostream* os) { *os << c.name; }
};

class ReplaceFile : public ::testing::TestWithParam<OutputCase> {};

TEST_P(ReplaceFile, WritesEveryByteOrSaysWhyLeavingNothingBehind) {
    const OutputCase& c = GetParam();
    testing::TempDir dir;
    testing::writeTextFile(dir / "old.png", "an older, longer picture");
    std::filesystem::create_directory(dir / "dir");
    const std::vector<std::uint8_t> bytes{0x89, 'P', 'N', 'G', 0, 255};
#ifndef _WIN32
    std::filesystem::create_symlink("old.png", dir / "link.png");
    ASSERT_EQ(::mkfifo((dir / "pipe").c_str(), 0600), 0);
    const int reader = ::open((dir / "pipe").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
#endif
    EXPECT_EQ(replaceFileWith(dir / c.target, bytes), c.reason);
    std::vector<std::uint8_t> piped(16);
#ifndef _WIN32
    piped.resize(static_cast<std::size_t>(std::max<ssize_t>(0, ::read(reader, piped.data(), 16))));
    ::close(reader);
    EXPECT_TRUE(std::filesystem::is_fifo(dir / "pipe")); // never a plain file in its place
    EXPECT_TRUE(std::filesystem::is_symlink(dir / "link.png"));
#endif
    if (!c.reason) {
        const bool isPipe = std::string(c.target) == "pipe";
        EXPECT_EQ(isPipe ? piped : testing::fileBytes(dir / c.target), bytes);
    }
    for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
        EXPECT_EQ(entry.path().filename().string().find(".part"), std::string::npos);
    }
}

#ifdef _WIN32
constexpr const char* kMissingFolder = "chemin d'accès introuvable";
constexpr const char* kFolder = "accès refusé";
#else
constexpr const char* kMissingFolder = "aucun fichier ou dossier de ce nom";
constexpr const char* kFolder = "c'est un dossier";
#endif

const OutputCase kTargets[] = {
    {"new_file", "new.png", std::nullopt},
    {"existing_file", "old.png", std::nullopt},
    {"missing_folder", "none/new.png", kMissingFolder},
    {"folder", "dir", kFolder},
#ifndef _WIN32
    {"link", "link.png", std::nullopt},
    {"pipe", "pipe", std::nullopt},
#endif
};

INSTANTIATE_TEST_SUITE_P(Targets, ReplaceFile, ::testing::ValuesIn(kTargets),
                         ombrelis::testing::NamedAfterName{});

} // namespace
} // namespace ombrelis::logtool

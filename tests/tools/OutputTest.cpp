// The tool's whole-file output: every byte under the name, or the system's reason in French
// and no temporary file left behind.
#include <filesystem>
#include <gtest/gtest.h>
#include <ombrelis/logtool/Output.h>
#include <ombrelis/testing/TempDir.h>

namespace ombrelis::logtool {
namespace {

struct OutputCase {
    const char* name;
    const char* target;                ///< in a folder holding the file old.png and the folder dir
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
    EXPECT_EQ(replaceFileWith(dir / c.target, bytes), c.reason);
    if (!c.reason) {
        EXPECT_EQ(testing::fileBytes(dir / c.target), bytes);
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

INSTANTIATE_TEST_SUITE_P(Targets, ReplaceFile,
                         ::testing::Values(OutputCase{"new_file", "new.png", std::nullopt},
                                           OutputCase{"existing_file", "old.png", std::nullopt},
                                           OutputCase{"missing_folder", "none/new.png",
                                                      kMissingFolder},
                                           OutputCase{"folder", "dir", kFolder}),
                         [](const auto& info) { return std::string(info.param.name); });

} // namespace
} // namespace ombrelis::logtool

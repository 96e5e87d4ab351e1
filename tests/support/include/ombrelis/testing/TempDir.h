#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace ombrelis::testing {

/// A fresh, empty folder under the system's temporary folder, removed with all it holds.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    /// The full name of `name` inside the folder.
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    std::string operator/(const std::string& name) const { return file(name); }

private:
    std::filesystem::path path_;
};

/// The whole content of a file, empty when it cannot be read.
std::vector<std::uint8_t> fileBytes(const std::string& name);

/// Record n of a log as 14 distinct bytes, so that a record at the wrong offset shows.
inline std::array<std::uint8_t, 14> recordBytes(int n) {
    std::array<std::uint8_t, 14> bytes{};
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bytes[i] = static_cast<std::uint8_t>(n * 16 + static_cast<int>(i) + 1);
    }
    return bytes;
}

/// Creates (or replaces) a file holding `text`.
void writeTextFile(const std::string& name, const std::string& text);

} // namespace ombrelis::testing

#pragma once

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

/// Creates (or replaces) a file holding `text`.
void writeTextFile(const std::string& name, const std::string& text);

} // namespace ombrelis::testing

#pragma once

#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

namespace ombrelis::logtool {

/// The input cannot be read; what() says which file and the system's reason.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// A log file read whole into memory through a read-only descriptor: the tool never holds
/// the input open for writing. Reading a file that a run is still writing gives a snapshot,
/// whose last record may be cut short.
class InputFile {
public:
    /// Reads a regular file or a pipe. Throws InputError.
    static InputFile read(const std::string& path);

    std::span<const std::uint8_t> bytes() const noexcept { return bytes_; }

    /// True when `path` names this very file (same device and inode), by whatever name.
    bool isSameFileAs(const std::string& path) const;

private:
    InputFile() = default;
    std::vector<std::uint8_t> bytes_;
    std::uint64_t device_ = 0;
    std::uint64_t inode_ = 0;
};

} // namespace ombrelis::logtool

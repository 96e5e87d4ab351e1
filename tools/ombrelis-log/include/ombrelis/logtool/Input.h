#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <ombrelis/platform/SystemError.h>
#include <span>
#include <stdexcept>
#include <string>

namespace ombrelis::logtool {

/// The input cannot be read; what() says which file and the system's reason, in French.
class InputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

/// Bytes of a log as they come, in whatever pieces the system hands them out.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Reads at most buffer.size() bytes and returns how many; 0 when there is nothing more
    /// (for now, when a file is followed). Throws InputError.
    virtual std::size_t read(std::span<std::uint8_t> buffer) = 0;
};

/// How the user names standard input on the command line.
inline constexpr const char* kStandardInput = "-";

/// The input as the messages name it: le fichier « name », or l'entrée standard for "-".
inline std::string inputName(const std::string& path) {
    return path == kStandardInput ? "l'entrée standard" : "le fichier " + platform::quoted(path);
}

/// "impossible de lire <input> : <reason>."
inline InputError cannotRead(const std::string& path, const std::string& reason) {
    return InputError("impossible de lire " + inputName(path) + " : " + reason + ".");
}

/// A log opened by name for reading only: a regular file, a pipe or a FIFO ("-": standard
/// input), read from its start as a stream, so its size need not be known. The tool never
/// holds its input open for writing. The system calls behind this and FollowedFile live in
/// one file per platform.
class InputFile : public ByteSource {
public:
    /// Throws InputError.
    static std::unique_ptr<InputFile> open(const std::string& path);

    /// True when `path` names this very file (same device and inode), by whatever name.
    virtual bool isSameFileAs(const std::string& path) const = 0;
};

/// A log that a run may still be writing, followed by its name as `tail -f` does.
class FollowedFile : public InputFile {
public:
    enum class Change {
        None,      ///< the same file, not shorter than what was read of it
        Replaced,  ///< another file now has the name; reading starts again from its start
        Shortened, ///< the file is shorter than what was read; reading starts again at 0
        Gone,      ///< no file has the name now
    };

    /// Throws InputError, also for a pipe or a FIFO: those are streams and need no following.
    static std::unique_ptr<FollowedFile> open(const std::string& path);

    /// What happened under the file's name since the last look; call it when read() gives 0.
    virtual Change look() = 0;
    /// Returns when the file may have changed, or after `milliseconds` at the latest.
    virtual void waitForChange(int milliseconds) = 0;
};

} // namespace ombrelis::logtool

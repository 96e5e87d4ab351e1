// The tool's output written whole with POSIX calls; another platform gets its own file in place
// of this one.
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <ombrelis/logtool/Output.h>
#include <ombrelis/platform/SystemError.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrelis::logtool {

namespace {

/// Writes every byte; false, with errno set, when the system refuses.
bool writeAll(int fd, std::span<const std::uint8_t> bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            errno = n == 0 ? EIO : errno;
            return false;
        }
        done += static_cast<std::size_t>(n);
    }
    return true;
}

/// A pipe, a terminal or a device (`-o /dev/stdout`) takes the bytes as they come: renaming a
/// file over it would put a plain file in its place.
std::optional<std::string> writeInPlace(const std::string& path,
                                        std::span<const std::uint8_t> bytes) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        return platform::frenchReason(errno);
    }
    const int error = writeAll(fd, bytes) ? 0 : errno;
    ::close(fd);
    return error == 0 ? std::nullopt : std::optional(platform::frenchReason(error));
}

} // namespace

std::optional<std::string> replaceFileWith(const std::string& name,
                                           std::span<const std::uint8_t> bytes) {
    struct stat existing {};
    const bool exists = ::stat(name.c_str(), &existing) == 0;
    if (exists && !S_ISREG(existing.st_mode) && !S_ISDIR(existing.st_mode)) {
        return writeInPlace(name, bytes);
    }
    // A link keeps leading where it led: the file it names is the one replaced.
    char* resolved = exists ? ::realpath(name.c_str(), nullptr) : nullptr;
    const std::string path = resolved ? resolved : name;
    std::free(resolved);
    // A new name of our own: O_EXCL never opens another's file, nor follows a link planted there.
    std::string temporary;
    int fd = -1;
    for (int attempt = 0; fd < 0 && attempt < 100; ++attempt) {
        temporary = path + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(attempt);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        return platform::frenchReason(errno);
    }
    if (exists && S_ISREG(existing.st_mode)) {
        // A file written over keeps who may read it; failing that, the new one is still whole.
        const int ignored = ::fchmod(fd, existing.st_mode & 07777);
        (void)ignored;
    }
    int error = 0;
    // EINVAL: a file system that cannot sync; the bytes are written all the same.
    if (!writeAll(fd, bytes) || (::fsync(fd) != 0 && errno != EINVAL)) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0 && errno != EINTR) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), path.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        ::unlink(temporary.c_str());
        return platform::frenchReason(error);
    }
    return std::nullopt;
}

void removeFailedOutput(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
        ::unlink(path.c_str());
    }
}

void openForWriting(std::ofstream& file, const std::string& path) {
    file.open(path, std::ios::binary | std::ios::trunc);
}

} // namespace ombrelis::logtool

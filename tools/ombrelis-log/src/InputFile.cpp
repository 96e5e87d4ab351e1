#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <ombrelis/logtool/InputFile.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrelis::logtool {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw InputError("cannot read " + path + ": " + reason);
}

/// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

} // namespace

InputFile InputFile::read(const std::string& path) {
    const Descriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        fail(path, std::strerror(errno));
    }
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0) {
        fail(path, std::strerror(errno));
    }
    if (S_ISDIR(st.st_mode)) {
        fail(path, "it is a directory");
    }
    if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode)) {
        fail(path, "it is not a regular file");
    }

    InputFile file;
    file.device_ = static_cast<std::uint64_t>(st.st_dev);
    file.inode_ = static_cast<std::uint64_t>(st.st_ino);
    if (S_ISREG(st.st_mode)) {
        file.bytes_.reserve(static_cast<std::size_t>(st.st_size));
    }
    std::uint8_t chunk[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd.get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            fail(path, std::strerror(errno));
        }
        if (n == 0) {
            break;
        }
        file.bytes_.insert(file.bytes_.end(), chunk, chunk + n);
    }
    return file;
}

bool InputFile::isSameFileAs(const std::string& path) const {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && static_cast<std::uint64_t>(st.st_dev) == device_ &&
           static_cast<std::uint64_t>(st.st_ino) == inode_;
}

} // namespace ombrelis::logtool

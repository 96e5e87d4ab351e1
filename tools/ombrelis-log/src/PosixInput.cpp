// The tool's only system calls: opening, reading and watching its input through POSIX
// descriptors (and inotify on Linux). Another platform gets its own file in place of this one.
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <filesystem>
#include <ombrelis/logtool/FirstRecord.h>
#include <ombrelis/logtool/Input.h>
#include <poll.h>
#include <sys/stat.h>
#include <unistd.h>
#ifdef __linux__
#include <sys/inotify.h>
#endif

namespace ombrelis::logtool {

namespace {

[[noreturn]] void fail(const std::string& path, const std::string& reason) {
    throw cannotRead(path, reason);
}

[[noreturn]] void fail(const std::string& path, int errorNumber) {
    fail(path, platform::frenchReason(errorNumber));
}

/// Closes the descriptor on every way out.
class Descriptor {
public:
    explicit Descriptor(int fd = -1) noexcept : fd_(fd) {}
    ~Descriptor() { reset(); }
    Descriptor(Descriptor&& other) noexcept : fd_(other.release()) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const noexcept { return fd_; }
    void reset(int fd = -1) noexcept {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }
    int release() noexcept {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

struct Identity {
    dev_t device = 0;
    ino_t inode = 0;
    friend bool operator==(const Identity&, const Identity&) = default;
};

Identity identityOf(const struct stat& st) {
    return {st.st_dev, st.st_ino};
}

bool isNamedBy(const Identity& identity, const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && identityOf(st) == identity;
}

struct stat statOf(int fd, const std::string& path) {
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        fail(path, errno);
    }
    return st;
}

/// Opens `path` ("-": a copy of standard input) and refuses what is no stream of bytes.
Descriptor openStream(const std::string& path, struct stat& st) {
    Descriptor fd(path == kStandardInput ? ::fcntl(STDIN_FILENO, F_DUPFD_CLOEXEC, 0)
                                         : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    if (fd.get() < 0) {
        fail(path, errno);
    }
    st = statOf(fd.get(), path);
    if (S_ISDIR(st.st_mode)) {
        fail(path, EISDIR);
    }
    if (::isatty(fd.get()) != 0) {
        fail(path, "c'est un terminal : nommez un fichier de mesures ou envoyez-le par un tube");
    }
    if (!S_ISREG(st.st_mode) && !S_ISFIFO(st.st_mode) && !S_ISSOCK(st.st_mode)) {
        fail(path, "ce n'est ni un fichier ordinaire, ni un tube, ni une FIFO");
    }
    return fd;
}

std::size_t readSome(int fd, std::span<std::uint8_t> buffer, const std::string& path) {
    for (;;) {
        const ssize_t n = ::read(fd, buffer.data(), buffer.size());
        if (n >= 0) {
            return static_cast<std::size_t>(n);
        }
        if (errno != EINTR) {
            fail(path, errno);
        }
    }
}

class PosixInputFile final : public InputFile {
public:
    explicit PosixInputFile(const std::string& path) : path_(path) {
        struct stat st {};
        fd_.reset(openStream(path, st).release());
        identity_ = identityOf(st);
        if (S_ISREG(st.st_mode)) {
            ::posix_fadvise(fd_.get(), 0, 0, POSIX_FADV_SEQUENTIAL);
        }
    }

    std::size_t read(std::span<std::uint8_t> buffer) override {
        return readSome(fd_.get(), buffer, path_);
    }

    bool isSameFileAs(const std::string& path) const override { return isNamedBy(identity_, path); }

private:
    std::string path_;
    Descriptor fd_;
    Identity identity_;
};

class PosixFollowedFile final : public FollowedFile {
public:
    explicit PosixFollowedFile(const std::string& path) : path_(path) {
        struct stat st {};
        Descriptor fd = openStream(path, st);
        if (!S_ISREG(st.st_mode)) {
            fail(path, "c'est un tube ou une FIFO, donc déjà un flux : lisez-le sans --follow");
        }
        fd_.reset(fd.release());
        identity_ = identityOf(st);
        watchFolder();
    }

    std::size_t read(std::span<std::uint8_t> buffer) override {
        const std::size_t n = readSome(fd_.get(), buffer, path_);
        firstRecord_.saw(offset_, buffer.first(n));
        offset_ += n;
        return n;
    }

    bool isSameFileAs(const std::string& path) const override { return isNamedBy(identity_, path); }

    Change look() override {
        const Change change = lookAtName();
        if (change != Change::None || !rewrittenInPlace()) {
            return change;
        }
        restartAtZero();
        return Change::Replaced;
    }

    void waitForChange(int milliseconds) override {
        pollfd wake{watch_.get(), POLLIN, 0};
        if (::poll(&wake, watch_.get() >= 0 ? 1 : 0, milliseconds) > 0) {
            char events[4096];
            while (::read(watch_.get(), events, sizeof events) > 0) {
            }
        }
    }

private:
    bool rewrittenInPlace() {
        std::array<std::uint8_t, FirstRecord::size()> now{};
        const ssize_t n = ::pread(fd_.get(), now.data(), now.size(), 0);
        return n >= 0 && firstRecord_.changed(std::span(now).first(static_cast<std::size_t>(n)));
    }

    void restartAtZero() {
        if (::lseek(fd_.get(), 0, SEEK_SET) != 0) {
            fail(path_, errno);
        }
        offset_ = 0;
        firstRecord_.forget();
    }

    Change lookAtName() {
        struct stat named {};
        if (::stat(path_.c_str(), &named) != 0) {
            return Change::Gone;
        }
        // The file we hold stays allocated, so no new file can get its inode meanwhile.
        if (identityOf(named) != identity_) {
            Descriptor fresh(::open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
            struct stat st {};
            if (fresh.get() < 0 || ::fstat(fresh.get(), &st) != 0 || !S_ISREG(st.st_mode)) {
                return Change::Gone;
            }
            fd_.reset(fresh.release());
            identity_ = identityOf(st);
            offset_ = 0;
            firstRecord_.forget();
            return Change::Replaced;
        }
        if (static_cast<std::uint64_t>(statOf(fd_.get(), path_).st_size) < offset_) {
            restartAtZero();
            return Change::Shortened;
        }
        return Change::None;
    }

    /// Any change in the folder wakes the follower at once: the file growing, and also a new
    /// file taking the name, which a watch on the file itself would not see. Without inotify
    /// the follower looks at the file at the waiting period.
    void watchFolder() {
#ifdef __linux__
        std::filesystem::path folder = std::filesystem::path(path_).parent_path();
        if (folder.empty()) {
            folder = ".";
        }
        watch_.reset(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC));
        if (watch_.get() >= 0 &&
            ::inotify_add_watch(watch_.get(), folder.c_str(),
                                IN_MODIFY | IN_CLOSE_WRITE | IN_ATTRIB | IN_CREATE | IN_DELETE |
                                    IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF) <
                0) {
            watch_.reset();
        }
#endif
    }

    std::string path_;
    Descriptor fd_;
    Identity identity_;
    std::uint64_t offset_ = 0;
    FirstRecord firstRecord_;
    Descriptor watch_;
};

} // namespace

std::unique_ptr<InputFile> InputFile::open(const std::string& path) {
    return std::make_unique<PosixInputFile>(path);
}

std::unique_ptr<FollowedFile> FollowedFile::open(const std::string& path) {
    return std::make_unique<PosixFollowedFile>(path);
}

} // namespace ombrelis::logtool

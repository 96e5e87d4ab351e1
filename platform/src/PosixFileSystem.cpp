#include <cerrno>
#include <fcntl.h>
#include <ombrelis/platform/PosixFileSystem.h>
#include <ombrelis/platform/SystemError.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace ombrelis::platform {

namespace {

class PosixRecordFile final : public RecordFile {
public:
    PosixRecordFile(int fd, std::string name, std::size_t recordSize)
        : fd_(fd), name_(std::move(name)), recordSize_(recordSize) {}

    ~PosixRecordFile() override {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }

    void writeRecord(std::int64_t recordNumber, std::span<const std::uint8_t> bytes) override {
        const auto offset =
            static_cast<off_t>((recordNumber - 1) * static_cast<std::int64_t>(recordSize_));
        std::size_t done = 0;
        // One pwrite per record; the loop only finishes a write the system cut short.
        while (done < bytes.size()) {
            const ssize_t n = ::pwrite(fd_, bytes.data() + done, bytes.size() - done,
                                       offset + static_cast<off_t>(done));
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                const int error = n < 0 ? errno : EIO;
                dropPartialRecord(offset, done);
                throw SystemError("Impossible d'écrire dans le fichier " + quoted(name_), error);
            }
            done += static_cast<std::size_t>(n);
        }
    }

    void sync() override {
        // EINVAL/EROFS: the object cannot be synced (a pipe, a special file); nothing is lost.
        if (::fdatasync(fd_) != 0 && errno != EINVAL && errno != EROFS) {
            throw SystemError("Impossible d'enregistrer sur le disque le fichier " + quoted(name_),
                              errno);
        }
    }

    void close() override {
        if (fd_ < 0) {
            return;
        }
        const int fd = fd_;
        fd_ = -1;
        if (::close(fd) != 0 && errno != EINTR) {
            throw SystemError("Impossible de fermer le fichier " + quoted(name_), errno);
        }
    }

private:
    // A write cut short by a full disk or a size limit would leave the start of a record at
    // the end of the file; readers find records at computed offsets, so the file must stay a
    // whole number of records. Only an appended record is cut back: the file then ends exactly
    // where the partial bytes end.
    void dropPartialRecord(off_t offset, std::size_t written) {
        struct stat st {};
        if (written > 0 && ::fstat(fd_, &st) == 0 &&
            st.st_size == offset + static_cast<off_t>(written)) {
            // Best effort: the write's own error is the one worth reporting.
            const int ignored = ::ftruncate(fd_, offset);
            (void)ignored;
        }
    }

    int fd_;
    std::string name_;
    std::size_t recordSize_;
};

/// Takes the writers' lock. flock belongs to the open file description, so a second open of
/// the file is refused it, in this process as in another.
void lockForWriting(int fd, const std::string& name) {
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
        return;
    }
    const int error = errno;
    if (error == EWOULDBLOCK) {
        throw FileLocked(name);
    }
    // A file system without locks (some network ones) is written unguarded rather than not
    // at all.
    if (error != ENOLCK && error != EOPNOTSUPP && error != ENOSYS) {
        throw SystemError("Impossible de verrouiller le fichier " + quoted(name), error);
    }
}

class PosixHeldFile final : public HeldFile {
public:
    PosixHeldFile(int fd, std::string name) : fd_(fd), name_(std::move(name)) {}
    ~PosixHeldFile() override { ::close(fd_); }
    PosixHeldFile(const PosixHeldFile&) = delete;
    PosixHeldFile& operator=(const PosixHeldFile&) = delete;

    bool isRegular() const {
        struct stat st {};
        return ::fstat(fd_, &st) == 0 && S_ISREG(st.st_mode);
    }

    bool removeIfUnchanged() override {
        struct stat held {};
        struct stat now {};
        if (::fstat(fd_, &held) != 0 || ::stat(name_.c_str(), &now) != 0 || !S_ISREG(now.st_mode) ||
            now.st_dev != held.st_dev || now.st_ino != held.st_ino) {
            return false;
        }
        if (::unlink(name_.c_str()) != 0) {
            throw SystemError("Impossible de supprimer le fichier " + quoted(name_), errno);
        }
        return true;
    }

private:
    int fd_;
    std::string name_;
};

} // namespace

EntryKind PosixFileSystem::probe(const std::string& name) {
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0) {
        if (errno == ENOENT) {
            return EntryKind::Absent;
        }
        throw SystemError("Impossible de vérifier l'existence du fichier " + quoted(name), errno);
    }
    if (S_ISREG(st.st_mode)) {
        return EntryKind::RegularFile;
    }
    if (S_ISLNK(st.st_mode)) {
        struct stat target {};
        if (::stat(name.c_str(), &target) == 0 && S_ISREG(target.st_mode)) {
            return EntryKind::RegularFile;
        }
    }
    return EntryKind::Other;
}

std::unique_ptr<HeldFile> PosixFileSystem::holdExisting(const std::string& name) {
    // Non-blocking: a pipe swapped in since the probe must not make the open wait for a writer.
    const int fd = ::open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        throw SystemError("Impossible d'ouvrir le fichier " + quoted(name), errno);
    }
    auto held = std::make_unique<PosixHeldFile>(fd, name);
    if (!held->isRegular()) {
        return nullptr;
    }
    lockForWriting(fd, name);
    return held;
}

std::unique_ptr<RecordFile> PosixFileSystem::createRecords(const std::string& name,
                                                           std::size_t recordSize) {
    const int fd = ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        throw SystemError("Impossible de créer le fichier " + quoted(name), errno);
    }
    auto file = recordFileOnDescriptor(fd, name, recordSize);
    lockForWriting(fd, name);
    return file;
}

std::unique_ptr<RecordFile> recordFileOnDescriptor(int fd, const std::string& name,
                                                   std::size_t recordSize) {
    return std::make_unique<PosixRecordFile>(fd, name, recordSize);
}

} // namespace ombrelis::platform

// The calls a program makes on /dev/parport0, answered in-process. Loaded with LD_PRELOAD,
// these definitions come before the C library's: a call on the device goes to PpdevDriver, a
// call on anything else to the next definition in the search order (the C library's, or a
// sanitizer's in front of it).

#undef _FORTIFY_SOURCE // its inline wrappers would clash with these definitions

#include "PpdevDriver.h"

#include <atomic>
#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dlfcn.h>
#include <fcntl.h>
#include <mutex>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#define OMBRELIS_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

constexpr const char* kDevice = "/dev/parport0";
constexpr unsigned kPpdevMajor = 99;

struct Port {
    std::mutex mutex;
    ombrelis::standin::PpdevDriver driver;
};

// Never destroyed: closes and ioctls keep coming while the process runs its exit handlers.
Port& port() {
    static Port* const instance = new Port;
    return *instance;
}

// Until the device is first opened, every other call goes straight through, without a lock.
std::atomic<bool> portEverOpened{false};

bool isPort(const char* path) {
    return path != nullptr && std::strcmp(path, kDevice) == 0;
}

template <typename Function> Function next(const char* name) {
    return reinterpret_cast<Function>(::dlsym(RTLD_NEXT, name));
}

double monotonicUs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<double>(now.tv_sec) * 1e6 + static_cast<double>(now.tv_nsec) / 1e3;
}

bool takesMode(int flags) {
    return (flags & O_CREAT) != 0 || (flags & O_TMPFILE) == O_TMPFILE;
}

// The device needs no mode; the open calls read it only to pass it on.
#define OMBRELIS_MODE_ARGUMENT(flags)                                                              \
    mode_t mode = 0;                                                                               \
    if (takesMode(flags)) {                                                                        \
        va_list rest;                                                                              \
        va_start(rest, flags);                                                                     \
        mode = va_arg(rest, mode_t);                                                               \
        va_end(rest);                                                                              \
    }

/// A descriptor of the stand-in's own (an eventfd: a real descriptor that close can release)
/// stands for the opened device.
int openPort(int flags) {
    const ombrelis::max187::StandinSettings settings = ombrelis::max187::settingsFromEnvironment();
    if (!settings.problem.empty()) {
        std::fprintf(stderr, "ombrelis parport stand-in: %s\n", settings.problem.c_str());
        errno = EINVAL;
        return -1;
    }
    if (settings.fault.step == ombrelis::max187::Fault::Step::Open) {
        errno = settings.fault.errorNumber;
        return -1;
    }
    const int fd = ::eventfd(0, (flags & O_CLOEXEC) != 0 ? EFD_CLOEXEC : 0);
    if (fd >= 0) {
        const std::lock_guard lock(port().mutex);
        port().driver.attach(fd, settings);
        portEverOpened.store(true);
    }
    return fd;
}

/// The node as udev makes it: a character device of the ppdev major, read-write for its group.
template <typename Stat> int statPort(Stat* buffer) {
    std::memset(buffer, 0, sizeof *buffer);
    buffer->st_mode = S_IFCHR | 0660;
    buffer->st_nlink = 1;
    buffer->st_rdev = makedev(kPpdevMajor, 0);
    return 0;
}

} // namespace

OMBRELIS_EXPORT int open(const char* path, int flags, ...) {
    OMBRELIS_MODE_ARGUMENT(flags)
    static const auto real = next<int (*)(const char*, int, ...)>("open");
    return isPort(path) ? openPort(flags) : real(path, flags, mode);
}

OMBRELIS_EXPORT int open64(const char* path, int flags, ...) {
    OMBRELIS_MODE_ARGUMENT(flags)
    static const auto real = next<int (*)(const char*, int, ...)>("open64");
    return isPort(path) ? openPort(flags) : real(path, flags, mode);
}

OMBRELIS_EXPORT int openat(int directory, const char* path, int flags, ...) {
    OMBRELIS_MODE_ARGUMENT(flags)
    static const auto real = next<int (*)(int, const char*, int, ...)>("openat");
    return isPort(path) ? openPort(flags) : real(directory, path, flags, mode);
}

OMBRELIS_EXPORT int openat64(int directory, const char* path, int flags, ...) {
    OMBRELIS_MODE_ARGUMENT(flags)
    static const auto real = next<int (*)(int, const char*, int, ...)>("openat64");
    return isPort(path) ? openPort(flags) : real(directory, path, flags, mode);
}

// What a program built with _FORTIFY_SOURCE calls instead of open when the flags are not known
// at compile time.
OMBRELIS_EXPORT int __open_2(const char* path, int flags) {
    static const auto real = next<int (*)(const char*, int)>("__open_2");
    return isPort(path) ? openPort(flags) : real(path, flags);
}

OMBRELIS_EXPORT int __open64_2(const char* path, int flags) {
    static const auto real = next<int (*)(const char*, int)>("__open64_2");
    return isPort(path) ? openPort(flags) : real(path, flags);
}

// The program looks for the device node before it picks the ppdev backend.
OMBRELIS_EXPORT int stat(const char* path, struct stat* buffer) noexcept {
    static const auto real = next<int (*)(const char*, struct stat*)>("stat");
    return isPort(path) ? statPort(buffer) : real(path, buffer);
}

OMBRELIS_EXPORT int stat64(const char* path, struct stat64* buffer) noexcept {
    static const auto real = next<int (*)(const char*, struct stat64*)>("stat64");
    return isPort(path) ? statPort(buffer) : real(path, buffer);
}

OMBRELIS_EXPORT int lstat(const char* path, struct stat* buffer) noexcept {
    static const auto real = next<int (*)(const char*, struct stat*)>("lstat");
    return isPort(path) ? statPort(buffer) : real(path, buffer);
}

OMBRELIS_EXPORT int lstat64(const char* path, struct stat64* buffer) noexcept {
    static const auto real = next<int (*)(const char*, struct stat64*)>("lstat64");
    return isPort(path) ? statPort(buffer) : real(path, buffer);
}

OMBRELIS_EXPORT int fstatat(int directory, const char* path, struct stat* buffer,
                            int flags) noexcept {
    static const auto real = next<int (*)(int, const char*, struct stat*, int)>("fstatat");
    return isPort(path) ? statPort(buffer) : real(directory, path, buffer, flags);
}

OMBRELIS_EXPORT int fstatat64(int directory, const char* path, struct stat64* buffer,
                              int flags) noexcept {
    static const auto real = next<int (*)(int, const char*, struct stat64*, int)>("fstatat64");
    return isPort(path) ? statPort(buffer) : real(directory, path, buffer, flags);
}

OMBRELIS_EXPORT int ioctl(int fd, unsigned long request, ...) noexcept {
    // As the C library's own wrapper does, take the one optional argument whatever the request.
    va_list rest;
    va_start(rest, request);
    void* argument = va_arg(rest, void*);
    va_end(rest);
    if (portEverOpened.load()) {
        Port& p = port();
        const std::lock_guard lock(p.mutex);
        if (p.driver.holds(fd)) {
            const int error =
                p.driver.ioctl(fd, request, static_cast<unsigned char*>(argument), monotonicUs());
            if (error == 0) {
                return 0;
            }
            errno = error;
            return -1;
        }
    }
    static const auto real = next<int (*)(int, unsigned long, ...)>("ioctl");
    return real(fd, request, argument);
}

OMBRELIS_EXPORT int close(int fd) {
    if (portEverOpened.load()) {
        Port& p = port();
        const std::lock_guard lock(p.mutex);
        p.driver.detach(fd); // before the number can be reused by another open
    }
    static const auto real = next<int (*)(int)>("close");
    return real(fd);
}

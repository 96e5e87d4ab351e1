#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <grp.h>
#include <ombrelis/testing/ChildProcess.h>
#include <sys/wait.h>
#include <unistd.h>

namespace ombrelis::testing {

namespace {

constexpr uid_t kNobody = 65534;

std::string dropToNobody() {
    if (::geteuid() != 0) {
        return {}; // already unprivileged: permissions are checked as they are
    }
    if (::setgroups(0, nullptr) != 0 || ::setgid(kNobody) != 0 || ::setuid(kNobody) != 0) {
        return std::string("could not become uid/gid 65534: ") + std::strerror(errno);
    }
    if (::geteuid() == 0) {
        return "still root after setuid";
    }
    return {};
}

[[noreturn]] void reportAndExit(int fd, const std::string& report) {
    std::size_t done = 0;
    while (done < report.size()) {
        const ssize_t n = ::write(fd, report.data() + done, report.size() - done);
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    ::_exit(report.empty() ? 0 : 1);
}

} // namespace

std::string runInChild(ChildUser user, const std::function<std::string()>& body,
                       const std::function<void()>& beforeDrop) {
    int fds[2];
    if (::pipe(fds) != 0) {
        return std::string("pipe: ") + std::strerror(errno);
    }
    std::fflush(nullptr); // no buffered output may be written twice
    const pid_t pid = ::fork();
    if (pid < 0) {
        return std::string("fork: ") + std::strerror(errno);
    }
    if (pid == 0) {
        ::close(fds[0]);
        if (beforeDrop) {
            beforeDrop();
        }
        std::string report = user == ChildUser::Unprivileged ? dropToNobody() : std::string();
        if (report.empty()) {
            try {
                report = body();
            } catch (const std::exception& e) {
                report = std::string("unexpected exception: ") + e.what();
            } catch (...) {
                report = "unexpected exception";
            }
        }
        reportAndExit(fds[1], report);
    }
    ::close(fds[1]);
    std::string report;
    char buffer[512];
    ssize_t n;
    while ((n = ::read(fds[0], buffer, sizeof buffer)) != 0) {
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n < 0) {
            break;
        }
        report.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fds[0]);
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (WIFSIGNALED(status)) {
        return report + " [child killed by signal " + std::to_string(WTERMSIG(status)) + "]";
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) != 0 && report.empty()) {
        return "child exited with status " + std::to_string(WEXITSTATUS(status));
    }
    return report;
}

} // namespace ombrelis::testing

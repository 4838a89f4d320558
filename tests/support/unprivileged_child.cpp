#include "tests/support/unprivileged_child.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

std::optional<std::string> RunChild(bool drop, const std::function<std::string()>& work) {
    // Looked up before the fork: the child of a threaded process keeps to simple calls.
    const uid_t uid = UnprivilegedUid();
    const gid_t gid = UnprivilegedGid();
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return std::nullopt;
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        return std::nullopt;
    }
    if (pid == 0) {
        ::close(pipeFds[0]);
        if (drop && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0)) {
            ::_exit(2);
        }
        const std::string result = work();
        size_t done = 0;
        while (done < result.size()) {
            const ssize_t n = ::write(pipeFds[1], result.data() + done, result.size() - done);
            if (n <= 0) ::_exit(3);
            done += static_cast<size_t>(n);
        }
        ::_exit(0);
    }
    ::close(pipeFds[1]);
    std::string result;
    char buf[512];
    for (ssize_t n; (n = ::read(pipeFds[0], buf, sizeof buf)) > 0;) {
        result.append(buf, static_cast<size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return result;
}

}  // namespace

uid_t UnprivilegedUid() {
    if (::geteuid() != 0) return ::geteuid();
    const passwd* nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_uid : kNobody;
}

gid_t UnprivilegedGid() {
    if (::geteuid() != 0) return ::getegid();
    const passwd* nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_gid : kNobody;
}

std::optional<std::string> InUnprivilegedChild(const std::function<std::string()>& work) {
    return RunChild(true, work);
}

std::optional<std::string> InChild(const std::function<std::string()>& work) {
    return RunChild(false, work);
}

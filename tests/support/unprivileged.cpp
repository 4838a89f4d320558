#include "tests/support/unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr uid_t kNobody = 65534;

bool DropTo(uid_t uid, gid_t gid) {
    return ::setgroups(0, nullptr) == 0 && ::setgid(gid) == 0 && ::setuid(uid) == 0 &&
           ::geteuid() == uid && ::setuid(0) != 0;  // and cannot get root back
}

void WriteAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) ::_exit(3);
        done += static_cast<size_t>(n);
    }
}

std::optional<std::string> RunChild(bool drop, const std::function<std::string()>& body) {
    // Looked up before the fork: the child of a threaded process keeps to simple calls.
    const uid_t uid = UnprivilegedUid();
    const gid_t gid = UnprivilegedGid();
    const bool root = ::geteuid() == 0;
    int pipe[2];
    if (::pipe(pipe) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        if (drop && root && !DropTo(uid, gid)) ::_exit(2);
        WriteAll(pipe[1], body());
        ::_exit(0);
    }
    ::close(pipe[1]);
    std::string report;
    char chunk[4096];
    for (ssize_t n; (n = ::read(pipe[0], chunk, sizeof chunk)) > 0;) {
        report.append(chunk, static_cast<size_t>(n));
    }
    ::close(pipe[0]);
    int status = 0;
    if (child < 0 || ::waitpid(child, &status, 0) != child) return std::nullopt;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return report;
}

}  // namespace

uid_t UnprivilegedUid() {
    if (::geteuid() != 0) return ::geteuid();
    const passwd* nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_uid : kNobody;
}

gid_t UnprivilegedGid() {
    if (::geteuid() != 0) return ::getegid();
    if (const group* nogroup = ::getgrnam("nogroup")) return nogroup->gr_gid;
    const passwd* nobody = ::getpwnam("nobody");
    return nobody ? nobody->pw_gid : kNobody;
}

std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body) {
    return RunChild(true, body);
}

std::optional<std::string> InChild(const std::function<std::string()>& body) {
    return RunChild(false, body);
}

bool GiveToUnprivilegedUser(const std::string& path) {
    if (::geteuid() != 0) return true;
    return ::chown(path.c_str(), UnprivilegedUid(), UnprivilegedGid()) == 0;
}

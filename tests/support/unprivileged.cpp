#include "tests/support/unprivileged.h"

#include <grp.h>
#include <pwd.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct CUser {
    uid_t uid;
    gid_t gid;
};

std::optional<CUser> UnprivilegedUser() {
    const passwd* user = ::getpwnam("nobody");
    if (!user) return std::nullopt;
    const group* nogroup = ::getgrnam("nogroup");
    return CUser{user->pw_uid, nogroup ? nogroup->gr_gid : user->pw_gid};
}

bool DropTo(const CUser& user) {
    return ::setgroups(0, nullptr) == 0 && ::setgid(user.gid) == 0 && ::setuid(user.uid) == 0 &&
           ::geteuid() == user.uid && ::setuid(0) != 0;  // and cannot get root back
}

void WriteAll(int fd, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<size_t>(n);
    }
}

}  // namespace

std::optional<std::string> RunUnprivileged(const std::function<std::string()>& body) {
    if (::geteuid() != 0) return body();
    const std::optional<CUser> user = UnprivilegedUser();
    int pipe[2];
    if (!user || ::pipe(pipe) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipe[0]);
        if (!DropTo(*user)) ::_exit(1);
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

bool GiveToUnprivilegedUser(const std::string& path) {
    if (::geteuid() != 0) return true;
    const std::optional<CUser> user = UnprivilegedUser();
    return user && ::chown(path.c_str(), user->uid, user->gid) == 0;
}

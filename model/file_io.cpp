#include "model/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdlib>
#include <utility>

namespace {

// Closes a descriptor when it goes out of scope.
class CFd {
public:
    explicit CFd(int fd) : m_fd(fd) {}
    ~CFd() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CFd(const CFd&) = delete;
    CFd& operator=(const CFd&) = delete;
    int Get() const { return m_fd; }
    int Release() { return std::exchange(m_fd, -1); }

private:
    int m_fd;
};

std::string ResolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

bool WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        content.remove_prefix(static_cast<size_t>(n));
    }
    return true;
}

std::string TempNameBeside(const std::string& target) {
    static std::atomic<unsigned> s_counter{0};
    return target + ".tmp" + std::to_string(::getpid()) + "-" + std::to_string(++s_counter);
}

// Checks that the target may be written, as opening it for writing would, without
// truncating it. Creates it when missing; *created tells the caller to remove it again.
bool ProbeWritable(const std::string& target, bool* created, mode_t* mode) {
    CFd fd(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
    *created = fd.Get() >= 0;
    if (!*created) {
        if (errno != EEXIST) return false;
        CFd existing(::open(target.c_str(), O_WRONLY | O_CLOEXEC));
        if (existing.Get() < 0) return false;
        struct stat st {};
        if (::fstat(existing.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;
        *mode = st.st_mode & 07777;
        return true;
    }
    struct stat st {};
    *mode = ::fstat(fd.Get(), &st) == 0 ? (st.st_mode & 07777) : 0644;
    return true;
}

}  // namespace

WriteResult WriteFileAtomically(const std::string& path, std::string_view content) {
    if (path.empty()) return WriteResult::kOpenFailed;
    const std::string target = ResolveLink(path);
    bool created = false;
    mode_t mode = 0644;
    if (!ProbeWritable(target, &created, &mode)) return WriteResult::kOpenFailed;

    const std::string temp = TempNameBeside(target);
    CFd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (fd.Get() < 0) {
        if (created) ::unlink(target.c_str());
        return WriteResult::kOpenFailed;  // the folder takes no new files
    }
    bool ok =
        ::fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), content) && ::fsync(fd.Get()) == 0;
    ok = (::close(fd.Release()) == 0) && ok;
    ok = ok && ::rename(temp.c_str(), target.c_str()) == 0;
    if (!ok) {
        ::unlink(temp.c_str());
        if (created) ::unlink(target.c_str());
        return WriteResult::kWriteFailed;
    }
    return WriteResult::kOk;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    CFd fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.Get() < 0) return std::nullopt;
    struct stat st {};
    if (::fstat(fd.Get(), &st) != 0 || S_ISDIR(st.st_mode)) return std::nullopt;
    std::string text;
    char chunk[16384];
    for (;;) {
        ssize_t n = ::read(fd.Get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return std::nullopt;
        if (n == 0) return text;
        text.append(chunk, static_cast<size_t>(n));
    }
}

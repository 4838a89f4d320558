#include "model/file_io.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <utility>

namespace {

// A temporary file whose writer is gone is left alone this long after its last
// change, in case the writer runs where its pid means nothing here (another
// host or container sharing the folder).
constexpr time_t kStaleTempAgeS = 60;
constexpr int kTempNameTries = 100;

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

std::string Reason(const std::string& path, const std::string& why) {
    return path.empty() ? why : path + ": " + why;
}

CWriteOutcome Failed(WriteResult result, const std::string& path, int err) {
    return {result, Reason(path, std::strerror(err))};
}

std::string ResolveLink(const std::string& path) {
    struct stat st {};
    if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
    char resolved[PATH_MAX];
    return ::realpath(path.c_str(), resolved) ? std::string(resolved) : path;
}

// 0, or the errno of the write that failed.
int WriteAll(int fd, std::string_view content) {
    while (!content.empty()) {
        ssize_t n = ::write(fd, content.data(), content.size());
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return errno;
        if (n == 0) return EIO;
        content.remove_prefix(static_cast<size_t>(n));
    }
    return 0;
}

// Temporary files are named "<target>.tmp<pid>-<n>", so that a later write of
// the same target knows them and their writer.
std::string TempPrefix(const std::string& target) {
    return target + ".tmp";
}

std::string TempNameBeside(const std::string& target) {
    static std::atomic<unsigned> s_counter{0};
    return TempPrefix(target) + std::to_string(::getpid()) + "-" + std::to_string(++s_counter);
}

// The writer's pid from what follows the prefix ("<pid>-<n>"), or 0.
pid_t TempFileWriter(std::string_view rest) {
    size_t dash = rest.find('-');
    if (dash == std::string_view::npos || dash == 0 || dash + 1 == rest.size()) return 0;
    if (rest.find_first_not_of("0123456789-") != std::string_view::npos) return 0;
    if (rest.find('-', dash + 1) != std::string_view::npos) return 0;
    long pid = 0;
    auto res = std::from_chars(rest.data(), rest.data() + dash, pid);
    if (res.ec != std::errc() || pid <= 0 || pid > INT_MAX) return 0;
    return static_cast<pid_t>(pid);
}

bool ProcessIsGone(pid_t pid) {
    return ::kill(pid, 0) != 0 && errno == ESRCH;
}

// Removes the temporary files of this target that a writer left when it died
// before renaming them (killed, or its machine went down).
void RemoveStaleTempFiles(const std::string& target) {
    const size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? "."
                               : slash == 0               ? "/"
                                                          : target.substr(0, slash);
    const std::string prefix =
        TempPrefix(slash == std::string::npos ? target : target.substr(slash + 1));
    DIR* dir = ::opendir(folder.c_str());
    if (!dir) return;
    const time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir)) {
        std::string_view name = entry->d_name;
        if (!name.starts_with(prefix)) continue;
        const pid_t writer = TempFileWriter(name.substr(prefix.size()));
        if (writer == 0 || writer == ::getpid() || !ProcessIsGone(writer)) continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISREG(st.st_mode) || now - st.st_mtime < kStaleTempAgeS) continue;
        ::unlinkat(::dirfd(dir), entry->d_name, 0);
    }
    ::closedir(dir);
}

// Whether the target may be replaced, as opening it for writing would say,
// without creating or truncating it. An existing target's permission bits go to
// *mode; a missing one is for the temporary file to test (its folder).
CWriteOutcome CheckTarget(const std::string& path, const std::string& target,
                          std::optional<mode_t>* mode) {
    struct stat st {};
    if (::stat(target.c_str(), &st) != 0) {
        return errno == ENOENT ? CWriteOutcome{} : Failed(WriteResult::kOpenFailed, path, errno);
    }
    if (S_ISDIR(st.st_mode)) return Failed(WriteResult::kOpenFailed, path, EISDIR);
    if (!S_ISREG(st.st_mode)) return {WriteResult::kOpenFailed, Reason(path, "not a regular file")};
    CFd fd(::open(target.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) return Failed(WriteResult::kOpenFailed, path, errno);
    *mode = st.st_mode & 07777;
    return {};
}

// Creates a temporary file of a name no one uses; -1 with errno set when none can be.
int CreateTempFile(const std::string& target, std::string* temp, CTempFileTracker* tracker) {
    for (int attempt = 0; attempt < kTempNameTries; ++attempt) {
        *temp = TempNameBeside(target);
        if (tracker) tracker->TempFileBegins(*temp);
        int fd = ::open(temp->c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    return -1;
}

CWriteOutcome FillAndRename(const std::string& path, const std::string& target,
                            std::string_view content, std::optional<mode_t> mode,
                            CTempFileTracker* tracker) {
    std::string temp;
    CFd fd(CreateTempFile(target, &temp, tracker));
    if (fd.Get() < 0) return Failed(WriteResult::kOpenFailed, path, errno);  // no new files there
    int err = (mode && ::fchmod(fd.Get(), *mode) != 0) ? errno : 0;
    if (!err) err = WriteAll(fd.Get(), content);
    if (!err && ::fsync(fd.Get()) != 0) err = errno;
    if (::close(fd.Release()) != 0 && !err) err = errno;
    if (!err && ::rename(temp.c_str(), target.c_str()) != 0) err = errno;
    if (!err) return {};
    ::unlink(temp.c_str());
    return Failed(WriteResult::kWriteFailed, path, err);
}

}  // namespace

CWriteOutcome WriteFileAtomically(const std::string& path, std::string_view content,
                                  CTempFileTracker* tracker) {
    if (path.empty()) return {WriteResult::kOpenFailed, ""};
    const std::string target = ResolveLink(path);
    std::optional<mode_t> mode;
    CWriteOutcome checked = CheckTarget(path, target, &mode);
    if (checked.result != WriteResult::kOk) return checked;
    RemoveStaleTempFiles(target);
    CWriteOutcome outcome = FillAndRename(path, target, content, mode, tracker);
    if (tracker) tracker->TempFileEnds();
    return outcome;
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

CReadOutcome ReadRegularFile(const std::string& path, size_t maxBytes) {
    const auto refused = [&](const std::string& why) {
        return CReadOutcome{std::nullopt, Reason(path, why)};
    };
    const auto tooLarge = [&](unsigned long long size) {
        return refused("too large (" + std::to_string(size) + " bytes, at most " +
                       std::to_string(maxBytes) + ")");
    };
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return refused(std::strerror(errno));
    if (S_ISDIR(st.st_mode)) return refused(std::strerror(EISDIR));
    if (!S_ISREG(st.st_mode)) return refused("not a regular file");
    if (static_cast<unsigned long long>(st.st_size) > maxBytes) return tooLarge(st.st_size);
    CFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (fd.Get() < 0) return refused(std::strerror(errno));
    if (::fstat(fd.Get(), &st) != 0) return refused(std::strerror(errno));
    if (!S_ISREG(st.st_mode)) return refused("not a regular file");  // replaced meanwhile
    std::string text;
    char chunk[16384];
    while (text.size() <= maxBytes) {
        ssize_t n = ::read(fd.Get(), chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return refused(std::strerror(errno));
        if (n == 0) return {std::move(text), ""};
        text.append(chunk, static_cast<size_t>(n));
    }
    return tooLarge(text.size());  // grew while it was read
}

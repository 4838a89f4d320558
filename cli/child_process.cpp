#include "cli/child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstring>

extern char** environ;

namespace {

void CloseFd(int& fd) {
    if (fd >= 0) ::close(fd);
    fd = -1;
}

}  // namespace

CChildProcess::~CChildProcess() {
    CloseFd(m_out.fd);
    CloseFd(m_err.fd);
    if (m_pid > 0) {
        ::kill(m_pid, SIGTERM);
        Wait();
    }
}

bool CChildProcess::Start(const std::vector<std::string>& argv, std::string& error) {
    // Close-on-exec, so that no other child holds these pipes open.
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    if (::pipe2(err, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        ::close(out[0]);
        ::close(out[1]);
        return false;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char*> args;
    for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    const int spawned = ::posix_spawn(&m_pid, args[0], &actions, nullptr, args.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);
    m_out.fd = out[0];
    m_err.fd = err[0];
    if (spawned == 0) return true;
    m_pid = -1;
    CloseFd(m_out.fd);
    CloseFd(m_err.fd);
    error = std::strerror(spawned);
    return false;
}

void CChildProcess::ReadFrom(int fd, const OnLine& onLine) {
    if (fd >= 0 && fd == m_out.fd) ReadPipe(m_out, Stream::kOut, onLine);
    if (fd >= 0 && fd == m_err.fd) ReadPipe(m_err, Stream::kErr, onLine);
}

void CChildProcess::ReadPipe(CPipe& pipe, Stream stream, const OnLine& onLine) {
    char buffer[4096];
    const ssize_t n = ::read(pipe.fd, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN)) return;
    if (n > 0) {
        pipe.pending.append(buffer, static_cast<size_t>(n));
        size_t start = 0;
        for (size_t end; (end = pipe.pending.find('\n', start)) != std::string::npos;
             start = end + 1) {
            onLine(stream, pipe.pending.substr(start, end - start));
        }
        pipe.pending.erase(0, start);
        return;
    }
    if (!pipe.pending.empty()) onLine(stream, std::move(pipe.pending));
    pipe.pending.clear();
    CloseFd(pipe.fd);
}

int CChildProcess::Wait() {
    if (m_pid <= 0) return -1;
    int status = 0;
    while (::waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_pid = -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

void CChildProcess::Signal(int signal) const {
    if (m_pid > 0) ::kill(m_pid, signal);
}

#include "tests/cli/run_process.h"

#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fcntl.h>

#include <chrono>

extern char** environ;

namespace {

bool Drain(int fd, std::string& into) {
    char buf[4096];
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n > 0) into.append(buf, static_cast<size_t>(n));
    return n > 0;
}

}  // namespace

CProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          int timeoutMs) {
    int out[2], err[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(err, O_CLOEXEC) != 0) return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err[1], STDERR_FILENO);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    pid_t pid = -1;
    int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(err[1]);

    CProcessResult result;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    bool outOpen = spawned == 0, errOpen = spawned == 0;
    while ((outOpen || errOpen) && std::chrono::steady_clock::now() < deadline) {
        pollfd fds[2] = {{out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
        if (::poll(fds, 2, 100) <= 0) continue;
        if (fds[0].revents) outOpen = Drain(out[0], result.out);
        if (fds[1].revents) errOpen = Drain(err[0], result.err);
    }
    ::close(out[0]);
    ::close(err[0]);
    if (spawned != 0) return result;
    if (outOpen || errOpen) ::kill(pid, SIGKILL);
    int wstatus = 0;
    ::waitpid(pid, &wstatus, 0);
    if (!outOpen && !errOpen && WIFEXITED(wstatus)) result.status = WEXITSTATUS(wstatus);
    return result;
}

namespace {

// The test's environment with the given entries in front, which getenv finds first.
std::vector<char*> EnvironmentWith(const std::vector<std::string>& env) {
    std::vector<char*> all;
    for (const auto& entry : env) all.push_back(const_cast<char*>(entry.c_str()));
    for (char** entry = environ; *entry; ++entry) all.push_back(*entry);
    all.push_back(nullptr);
    return all;
}

}  // namespace

CRunningProcess::CRunningProcess(const std::string& program, const std::vector<std::string>& args,
                                 const std::vector<std::string>& env) {
    int out[2];
    if (::pipe2(out, O_CLOEXEC) != 0) return;
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
    std::vector<char*> argv{const_cast<char*>(program.c_str())};
    for (const auto& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp = EnvironmentWith(env);
    if (posix_spawn(&m_pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) != 0) {
        m_pid = -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    m_out = out[0];
}

CRunningProcess::~CRunningProcess() {
    Stop();
    if (m_out >= 0) ::close(m_out);
}

std::string CRunningProcess::FirstLine(int timeoutMs) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_read.find('\n') == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        pollfd fd{m_out, POLLIN, 0};
        if (::poll(&fd, 1, 100) > 0 && !Drain(m_out, m_read)) break;
    }
    size_t end = m_read.find('\n');
    return end == std::string::npos ? std::string() : m_read.substr(0, end);
}

int CRunningProcess::Stop() {
    if (m_pid < 0) return -1;
    const int wstatus = Kill(SIGTERM);
    return WIFEXITED(wstatus) ? WEXITSTATUS(wstatus) : -1;
}

int CRunningProcess::Kill(int signal) {
    if (m_pid < 0) return -1;
    ::kill(m_pid, signal);
    int wstatus = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (::waitpid(m_pid, &wstatus, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, &wstatus, 0);
            break;
        }
        ::usleep(10000);
    }
    m_pid = -1;
    return wstatus;
}

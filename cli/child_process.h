// A qelvarctl of the fleet's own, run for one switcher: its stdout and stderr
// come back through pipes, line by line, while others run beside it.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <vector>

class CChildProcess {
public:
    enum class Stream { kOut, kErr };
    using OnLine = std::function<void(Stream stream, std::string line)>;

    CChildProcess() = default;
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts argv[0] (a path) with stdin from /dev/null. False with the reason.
    bool Start(const std::vector<std::string>& argv, std::string& error);

    // The pipes still open, for poll(); -1 once one has ended.
    int OutFd() const { return m_out.fd; }
    int ErrFd() const { return m_err.fd; }
    // Reads what the pipe fd has and hands over each whole line; at its end
    // the last, unfinished one too.
    void ReadFrom(int fd, const OnLine& onLine);
    // Both pipes have ended: the child has exited, or is about to.
    bool Ended() const { return m_out.fd < 0 && m_err.fd < 0; }
    // Waits for it: its exit status, or 128 + the signal that ended it.
    int Wait();
    void Signal(int signal) const;

private:
    struct CPipe {
        int fd = -1;
        std::string pending;
    };
    void ReadPipe(CPipe& pipe, Stream stream, const OnLine& onLine);

    pid_t m_pid = -1;
    CPipe m_out;
    CPipe m_err;
};

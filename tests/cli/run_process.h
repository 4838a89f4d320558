// Runs a program to its end and collects its exit status and output.
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

struct CProcessResult {
    int status = -1;  // exit status, or -1 when it did not exit normally in time
    std::string out;
    std::string err;
};

CProcessResult RunProcess(const std::string& program, const std::vector<std::string>& args,
                          int timeoutMs = 60000);

// A program that keeps running while the test talks to it (qelvarctl sim).
class CRunningProcess {
public:
    // env: NAME=value entries added to the test's own environment.
    CRunningProcess(const std::string& program, const std::vector<std::string>& args,
                    const std::vector<std::string>& env = {});
    // Stops it if the test has not.
    ~CRunningProcess();
    CRunningProcess(const CRunningProcess&) = delete;
    CRunningProcess& operator=(const CRunningProcess&) = delete;

    // The first line it writes on stdout, without the LF; empty when none
    // comes within timeoutMs.
    std::string FirstLine(int timeoutMs = 10000);
    // Sends SIGTERM and waits; its exit status, or -1 when it did not exit normally.
    int Stop();
    // Sends the signal and waits (SIGKILL after 10 s); the raw wait status.
    int Kill(int signal);
    pid_t Pid() const { return m_pid; }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    std::string m_read;
};

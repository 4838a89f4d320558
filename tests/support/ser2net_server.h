// A real serial device server for the tests: ser2net in the foreground with a
// raw TCP accepter and a Telnet RFC 2217 accepter on 127.0.0.1 (ports picked
// free), both connected to one serial device (the virtual switcher's
// pseudo-terminal). It can be stopped and started again on the same ports.
#pragma once

#include <sys/types.h>

#include <string>

#include "tests/support/temp_dir.h"

class CSer2net {
public:
    // Writes the configuration and starts the server; throws when it does not listen.
    explicit CSer2net(const std::string& device);
    ~CSer2net();
    CSer2net(const CSer2net&) = delete;
    CSer2net& operator=(const CSer2net&) = delete;

    std::string RawPort() const;      // "tcp://127.0.0.1:N"
    std::string Rfc2217Port() const;  // "rfc2217://127.0.0.1:M"
    int RawTcpPort() const { return m_nRaw; }

    // Ends it (SIGTERM) and waits for it: every client sees its connection closed.
    void Stop();
    // Starts it again on the same ports and waits until both accept.
    void Start();
    bool Running() const { return m_pid > 0; }
    // ser2net lets go of the device a moment after its client has gone, and
    // refuses the next client until then: waits for that, at most timeoutMs.
    bool WaitIdle(int timeoutMs = 5000) const;
    // Every byte its clients wrote to the device so far, in order (its trace).
    std::string WrittenToDevice() const;
    // What it printed, for failure messages.
    std::string Log() const;

private:
    CTempDir m_dir;
    std::string m_device;
    int m_nRaw = 0;
    int m_nTelnet = 0;
    pid_t m_pid = -1;
};

// A TCP port on 127.0.0.1 that nothing listens on just now.
int FreeTcpPort();
// Whether something listens on 127.0.0.1:port.
bool Listening(int port);

// A TCP proxy that holds every byte for a while in each direction, for tests
// of slow round trips (the kernel here has no netem). It listens on
// 127.0.0.1 and serves one client at a time, connecting it to the target port.
#pragma once

#include <atomic>
#include <string>
#include <thread>

class CDelayProxy {
public:
    CDelayProxy(int targetPort, int delayMsEachWay);
    ~CDelayProxy();
    CDelayProxy(const CDelayProxy&) = delete;
    CDelayProxy& operator=(const CDelayProxy&) = delete;

    int Port() const { return m_nPort; }
    std::string TcpPort() const { return "tcp://127.0.0.1:" + std::to_string(m_nPort); }

private:
    void Serve();
    void Relay(int client);

    int m_nTarget;
    int m_nDelayMs;
    int m_listen = -1;
    int m_nPort = 0;
    int m_stopFd = -1;
    std::thread m_thread;
};

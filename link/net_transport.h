// A serial device server on the network as the link's transport: raw TCP
// (bytes as they are; the server owns the line settings) or Telnet with the
// COM-PORT-OPTION (the line settings sent to the server, 0xFF escaped).
//
// The connection is made without blocking: Open has the host's name looked
// up on a thread of its own (a numeric address at once) and the I/O thread
// waits for the answer; then it starts connecting, the I/O thread waits for
// the socket to poll writable (3 s at most) and FinishOpen ends the attempt,
// trying the host's next address on a failure. A lookup the I/O thread gave
// up waiting for goes on, and the next Open takes its answer. Keep-alive and
// TCP_USER_TIMEOUT notice a server that has gone silently within about 15 s.
#pragma once

#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "link/host_lookup.h"
#include "link/port_name.h"
#include "link/telnet_codec.h"
#include "link/transport.h"

class CNetTransport : public ITransport {
public:
    // The socket's keep-alive: probes after 5 s of quiet, every 2 s, 5 of them;
    // data unacknowledged for 15 s ends the connection as well.
    static constexpr int kKeepIdleS = 5;
    static constexpr int kKeepIntervalS = 2;
    static constexpr int kKeepCount = 5;
    static constexpr int kUserTimeoutMs = 15000;

    // name: the port's name in the program ("COM1"), empty when there is none.
    CNetTransport(std::string name, CPortName address, HostResolver resolver = ResolveHost);
    ~CNetTransport() override;
    CNetTransport(const CNetTransport&) = delete;
    CNetTransport& operator=(const CNetTransport&) = delete;

    std::string Description() const override;
    COpenResult Open() override;
    COpenResult FinishOpen() override;
    bool OpensInBackground() const override { return true; }
    void Close() override;
    bool IsOpen() const override { return m_bOpen.load(std::memory_order_acquire); }
    int PollFd() const override { return m_fd; }

    // The socket is always non-blocking and a read never waits: nothing to do.
    bool SetNonBlocking() override { return true; }
    bool SetReadTimeouts() override { return true; }
    bool ApplyLineSettings(const CLineSettings& line) override;
    std::optional<CLineSettings> ReadLineSettings() const override;

    bool Discard(Queue which) override;
    size_t OutputQueued() const override;

    CIoResult Read(std::span<char> buffer) override;
    CIoResult Write(std::string_view bytes) override;

    bool HoldsOutput() const override;
    void FlushHeld() override;
    CLinkFailure HangUp() const override {
        return CLinkFailure::Of(CLinkFailure::Kind::kServerClosed);
    }

private:
    COpenResult LookedUp();
    COpenResult ConnectNext();
    // Why the addresses tried so far failed.
    CLinkFailure LastFailure() const;
    COpenResult Connected();
    // Writes what the Telnet layer holds; false when the connection failed.
    bool FlushLocked(int& error);
    void CloseSocket();
    void AckAtOnce() const;
    bool Telnet() const { return m_address.kind == PortKind::kRfc2217; }

    std::string m_name;
    CPortName m_address;
    CLineSettings m_line = kSwitcherLine;
    int m_fd = -1;
    std::atomic<bool> m_bOpen{false};
    HostResolver m_resolver;
    std::unique_ptr<CHostLookup> m_pLookup;  // I/O thread; kept by Close
    std::vector<CHostAddress> m_targets;     // the host's addresses not tried yet, the next last
    int m_nLastError = 0;  // of the last address tried; 0 while there was none

    mutable std::mutex m_mutex;  // the Telnet layer: Read on one thread, Write on another
    std::unique_ptr<CTelnetCodec> m_pTelnet;
};

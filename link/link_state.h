// Where the link stands: connected, waiting for its device, reconnecting to
// its server, with the reason of the last failure and what the modem lines
// said when output last stalled. The I/O thread reports what happens to the
// port as CPortEvents queued with the replies; the thread that owns the link
// applies them here, in order with the lines, and tells its watchers.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "link/line_watchers.h"

enum class LinkStatus {
    kNoPort,      // no link brought up
    kConnecting,  // a server's first connection is under way
    kConnected,
    kWaiting,       // for a device to (re)appear
    kReconnecting,  // to a server, after a pause that grows
};

// What the I/O thread saw.
struct CPortEvent {
    enum class Kind {
        kConnected,  // the port is open again; fd is its descriptor
        kLost,       // the port failed and was closed; text says why
        kRetrying,   // an attempt to open it failed; text says why
        kStalled,    // a write timed out; modemLines as TIOCMGET gave them, -1 for none
        kResumed,    // output moves again
    };
    Kind kind = Kind::kConnected;
    std::string text;
    int fd = -1;
    int modemLines = -1;
    std::chrono::system_clock::time_point time{};  // when it happened; stamped as it is queued

    static CPortEvent Connected(int fd) { return {Kind::kConnected, {}, fd, -1}; }
    static CPortEvent Lost(std::string why) { return {Kind::kLost, std::move(why), -1, -1}; }
    static CPortEvent Retrying(std::string why) {
        return {Kind::kRetrying, std::move(why), -1, -1};
    }
    static CPortEvent Stalled(int modemLines) { return {Kind::kStalled, {}, -1, modemLines}; }
    static CPortEvent Resumed() { return {Kind::kResumed, {}, -1, -1}; }
};

class CLinkState {
public:
    CLinkState() = default;
    CLinkState(const CLinkState&) = delete;
    CLinkState& operator=(const CLinkState&) = delete;

    // The link comes up on `port` ("COM1 /dev/ttyUSB0"): open, still
    // connecting (a server), or not open for `failure`.
    void Begin(std::string port, bool bNetwork, LinkStatus status, std::string failure = {});
    void Apply(const CPortEvent& event);
    // Back to no link; watchers stay.
    void End();

    LinkStatus Status() const { return m_status; }
    bool Connected() const { return m_status == LinkStatus::kConnected; }
    const std::string& Port() const { return m_strPort; }
    const std::string& LastFailure() const { return m_strFailure; }
    // What stops output ("output stalled: CTS is off — ..."); empty while it flows.
    const std::string& Stall() const { return m_strStall; }
    // Times the port was lost since start: a run compares it before and after.
    unsigned long Losses() const { return m_nLosses; }

    // Each change as a line for the communication log:
    // "COM1 /dev/ttyUSB0: lost (hung up), waiting for the port".
    CLineWatchers& Changes() { return m_changes; }
    // When the change being told to the watchers happened: the I/O thread's
    // time for what it saw, which the owner may apply well after.
    std::chrono::system_clock::time_point ChangedAt() const { return m_changedAt; }

    // Everything back to the start, watchers too.
    void Reset();

private:
    void Change(LinkStatus status, std::string_view what);

    LinkStatus m_status = LinkStatus::kNoPort;
    std::string m_strPort;
    bool m_bNetwork = false;
    std::string m_strFailure;
    std::string m_strStall;
    unsigned long m_nLosses = 0;
    std::chrono::system_clock::time_point m_changedAt{};
    CLineWatchers m_changes;
};

// The stall's reason from the modem lines (-1: the device has none).
std::string StallText(int modemLines);

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
#include "link/link_failure.h"

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
        kLost,       // the port failed and was closed; failure says why
        kRetrying,   // an attempt to open it failed; failure says why
        kStalled,    // a write timed out; modemLines as TIOCMGET gave them, -1 for none
        kResumed,    // output moves again
    };
    Kind kind = Kind::kConnected;
    CLinkFailure failure;
    int fd = -1;
    int modemLines = -1;
    std::chrono::system_clock::time_point time{};  // when it happened; stamped as it is queued

    static CPortEvent Connected(int fd) { return {Kind::kConnected, {}, fd, -1}; }
    static CPortEvent Lost(CLinkFailure why) { return {Kind::kLost, std::move(why), -1, -1}; }
    static CPortEvent Retrying(CLinkFailure why) {
        return {Kind::kRetrying, std::move(why), -1, -1};
    }
    static CPortEvent Stalled(int modemLines) { return {Kind::kStalled, {}, -1, modemLines}; }
    static CPortEvent Resumed() { return {Kind::kResumed, {}, -1, -1}; }
};

// One change of where the link stands, as a value: the communication log, the
// status bar and qelvarctl --verbose each say it in their own words.
struct CLinkChange {
    enum class What {
        kConnected,
        kConnecting,  // a server's first connection is under way
        kNotOpened,   // the first open failed (failure); waiting or reconnecting now
        kLost,        // the port failed (failure); waiting or reconnecting now
        kRetrying,    // another attempt failed (failure)
        kStalled,     // output stalls; nModemLines as the device gave them, -1 for none
        kResumed,     // output moves again
    };
    What what = What::kConnected;
    std::string strPort;    // "COM1 /dev/ttyUSB0"
    bool bNetwork = false;  // a server's port: reconnecting rather than waiting for the port
    CLinkFailure failure;
    int nModemLines = -1;
};

// In English, as qelvarctl --verbose prints it:
// "COM1 /dev/ttyUSB0: lost (hung up), waiting for the port".
std::string LinkChangeText(const CLinkChange& change);

class CLinkState {
public:
    CLinkState() = default;
    CLinkState(const CLinkState&) = delete;
    CLinkState& operator=(const CLinkState&) = delete;

    // The link comes up on `port` ("COM1 /dev/ttyUSB0"): open, still
    // connecting (a server), or not open for `failure`.
    void Begin(std::string port, bool bNetwork, LinkStatus status, CLinkFailure failure = {});
    void Apply(const CPortEvent& event);
    // Back to no link; watchers stay.
    void End();

    LinkStatus Status() const { return m_status; }
    bool Connected() const { return m_status == LinkStatus::kConnected; }
    const std::string& Port() const { return m_strPort; }
    bool Network() const { return m_bNetwork; }
    const CLinkFailure& LastFailure() const { return m_failure; }
    // Whether output stalls, and what the modem lines said then (-1: none).
    bool Stalled() const { return m_bStalled; }
    int StallModemLines() const { return m_nStallLines; }
    // Times the port was lost since start: a run compares it before and after.
    unsigned long Losses() const { return m_nLosses; }

    // Each change, for the communication log, the status bar and --verbose.
    CWatchers<const CLinkChange&>& Changes() { return m_changes; }
    // When the change being told to the watchers happened: the I/O thread's
    // time for what it saw, which the owner may apply well after.
    std::chrono::system_clock::time_point ChangedAt() const { return m_changedAt; }

    // Everything back to the start, watchers too.
    void Reset();

private:
    void Change(LinkStatus status, CLinkChange::What what, const CLinkFailure& failure);

    LinkStatus m_status = LinkStatus::kNoPort;
    std::string m_strPort;
    bool m_bNetwork = false;
    CLinkFailure m_failure;
    bool m_bStalled = false;
    int m_nStallLines = -1;
    unsigned long m_nLosses = 0;
    std::chrono::system_clock::time_point m_changedAt{};
    CWatchers<const CLinkChange&> m_changes;
};

// The stall's reason from the modem lines (-1: the device has none), in English.
std::string StallText(int modemLines);

// The switcher served to panels and control systems in the Videohub Ethernet
// protocol: one listening port per switcher, its clients, and the requests
// they make, which reach the switcher through the one gate. Runs on the
// thread that owns the link, never blocking: that thread watches Fd() with
// the reply queue and calls Service() when either is ready, after replies
// have been dispatched, and after TimeoutMs().
#pragma once

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "server/client_connection.h"
#include "server/served_unit.h"
#include "server/switcher_gate.h"
#include "server/unit_blocks.h"

struct CServeSettings {
    std::string strListen;        // an address to listen on; empty for all
    int nBasePort = 9990;         // the first unit's port; each next one the next free port
    int nMaxClients = 32;         // per port
    std::string strFriendlyName;  // empty: the model and the address
    std::string strLinkName;      // the port the switcher is on, for the unique id
    std::string strStatePath;     // output labels, locks and ports; empty: none kept
    // Read the routing and titles back before serving (qelvarctl serve), or
    // serve the tables as they are (the program's settings, a given file).
    bool bReadBack = true;
    // Called after the server changed the tables served (a title a client set):
    // the program marks its settings unsaved.
    std::function<void()> onTitlesChanged;
};

class CControlServer {
public:
    // A unit's port 0 is taken from the state file, or the next free one from
    // the base port on (and kept there).
    CControlServer(CServeSettings settings, std::vector<CServedUnit> units);
    ~CControlServer();
    CControlServer(const CControlServer&) = delete;
    CControlServer& operator=(const CControlServer&) = delete;

    // Opens every unit's port; false with the reason when one cannot be had.
    bool Listen(std::string& error);
    // Readable when a client or a port wants attention.
    int Fd() const { return m_epoll; }
    // Takes what clients sent, settles the switcher's answers, sends what is
    // due, and tells every client what changed in the tables served.
    void Service();
    // Milliseconds until Service() is due without an event; -1 for never.
    int TimeoutMs() const;

    size_t ClientCount() const { return m_clients.size(); }
    size_t UnitCount() const { return m_units.size(); }
    const CServedUnit& Unit(size_t i) const { return m_units[i]; }
    // Whether clients are told the switcher is there.
    bool Present(size_t i) const { return m_announced[i].bPresent; }

private:
    struct CClient {
        std::unique_ptr<CClientConnection> connection;
        size_t nUnit = 0;
    };
    // What the clients of a unit were last told of its tables.
    struct CAnnounced {
        bool bPresent = false;
        int nInputs = 0;
        OutputRow row{};
        std::array<std::string, kMaxInputs> titles;
    };

    // control_server.cpp: ports, clients, bytes
    bool ListenOn(size_t nUnit, std::string& error);
    void Accept(int listener, size_t nUnit);
    void OnClientEvent(int fd, unsigned events);
    void Drop(int fd);
    void SendTo(int fd, const std::string& bytes);
    void SendToUnit(size_t nUnit, const std::string& bytes);
    void WatchWrites(const CClient& client);
    void NetworkEvents();

    // control_server_requests.cpp: what a client asks
    void OnBlock(int fd, const CVideohubBlock& block);
    void OnDump(int fd, const std::string& header);
    void OnRoutes(int fd, const CVideohubBlock& block);
    void OnInputLabels(int fd, const CVideohubBlock& block);
    void OnOutputLabels(int fd, const CVideohubBlock& block);
    void OnLocks(int fd, const CVideohubBlock& block);
    bool LockedAgainst(size_t nUnit, int nOutput, unsigned long clientId) const;
    void Answer(unsigned long clientId, bool bOk);
    void Settled(unsigned long clientId);
    void SendLocks(size_t nUnit, const std::vector<int>& outputs);

    // control_server_state.cpp: presence, read-back, announcements, the state file
    void Refresh();
    void Announce(size_t nUnit);
    void Snapshot(size_t nUnit, bool bPresent);
    void ReadBack(size_t nUnit);
    void RetryReadBacks();
    void LoadState();
    void SaveState() const;

    CServeSettings m_settings;
    std::vector<CServedUnit> m_units;
    std::vector<CUnitIdentity> m_identities;
    std::vector<CAnnounced> m_announced;
    std::vector<int> m_listeners;
    std::vector<std::chrono::steady_clock::time_point> m_readBackDue;
    std::vector<bool> m_readBackRunning;
    std::map<int, CClient> m_clients;
    std::map<unsigned long, int> m_clientFds;
    std::map<unsigned long, int> m_waiting;  // each client's requests waiting for the switcher
    CSwitcherGate m_gate;
    int m_epoll = -1;
    unsigned long m_nNextClient = 1;
    bool m_bLinkWasUp = false;
};

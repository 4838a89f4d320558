// Runs a virtual switcher on its serial line, on a thread of its own: a
// pseudo-terminal it creates (the program opens DevicePath() as its port) or
// a serial device. Several switchers can share the line as on an RS-485 bus,
// each with its own address, model and settings; only the one addressed
// answers. Faults can be injected for tests and demonstrations.
#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "protocol/line_assembler.h"
#include "sim/reply_schedule.h"
#include "sim/switcher_port.h"
#include "sim/virtual_switcher.h"

struct CFaultOptions {
    int nErrorAtLine = 0;  // answer the k-th command line (1-based) with errorReply; 0 = never
    std::string errorReply = "E3";  // GN, MENU, E0, E1, E2 or E3
    int nDropAtLine = 0;            // answer the k-th command line "GO" but do nothing; 0 = never
    bool bSilent = false;           // hear every line, but neither apply nor answer any
    int nDelayMs = 0;               // every reply this much later
    bool bSplitBytes = false;       // every reply byte by byte, a few ms apart
    int nBaud = 0;                  // replies keep to the wire time at this speed; 0 = none
};

class CSwitcherServer {
public:
    explicit CSwitcherServer(const CSwitcherOptions& options = {},
                             const CFaultOptions& faults = {});
    ~CSwitcherServer();
    CSwitcherServer(const CSwitcherServer&) = delete;
    CSwitcherServer& operator=(const CSwitcherServer&) = delete;

    // Opens the line: a new pseudo-terminal when devicePath is empty. Start
    // opens a pseudo-terminal itself when nothing is open yet.
    bool Open(const std::string& devicePath = {});
    const std::string& DevicePath() const { return m_port.DevicePath(); }
    const std::string& Error() const { return m_error; }

    // Serves on a thread of its own until Stop. False when the line cannot be opened.
    bool Start();
    // Ends serving and waits for the thread; replies not yet written are dropped.
    void Stop();
    bool IsRunning() const { return m_thread.joinable(); }

    // Another interface or model for every switcher, safe while serving; what
    // each holds stays. nModel -1 keeps each switcher's own model.
    void Reconfigure(int nModel, bool bRs485, bool bAnyAddress);

    // Another switcher on the same line, before Start. A line goes to the
    // first switcher that answers it, so give each its own address.
    void AddSwitcher(const CSwitcherOptions& options);
    // The switchers on the line.
    int Count() const;
    // A switcher's state (the first one's unless told), safe while serving.
    CSwitcherState State(int index = 0) const;
    void SetState(const CSwitcherState& state, int index = 0);
    bool LoadState(const std::string& path, int index = 0);
    bool SaveState(const std::string& path, int index = 0) const;

    // Lines received (every line ending in LF) and replies written in full.
    int LinesReceived() const { return m_nReceived.load(); }
    int LinesAnswered() const { return m_nAnswered.load(); }

private:
    void Serve();
    bool ReadPort(CReplySchedule& schedule);
    void HandleLine(const std::string& line, CReplySchedule& schedule);
    bool WriteDue(CReplySchedule& schedule, bool& bBlocked);

    CSwitcherPort m_port;
    CFaultOptions m_faults;
    mutable std::mutex m_mutex;  // guards m_switchers' contents
    std::vector<CVirtualSwitcher> m_switchers;
    CLineAssembler m_assembler;  // serving thread only
    int m_nCommandLines = 0;     // lines the switcher would answer; serving thread only
    int m_wakeFd = -1;           // eventfd that ends the serving loop
    std::thread m_thread;
    std::string m_error;
    std::atomic<int> m_nReceived{0};
    std::atomic<int> m_nAnswered{0};
};

// A bus scan run from the event loop: each address is asked when the one
// before has answered or its time is up, on a timer, so the window stays live
// while the scan runs. On the program's link the scan keeps taking the link's
// replies until Stop, so a late answer lands in the list, not in the settings
// model; on a port the link is not on it asks over a connection of its own,
// made first and closed by Stop, and the link is left alone.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "link/bus_scan.h"
#include "link/link_failure.h"

class CScanPort;
class QSocketNotifier;

class CBusSearch : public QObject {
public:
    explicit CBusSearch(QObject* parent = nullptr);
    ~CBusSearch() override;

    // Starts a new scan on the program's link (ending one that runs).
    void Start(bool bRs485, int nTimeoutMs = kDefaultScanTimeoutMs);
    // The same over a connection of its own to path (a device or a server's address).
    void StartOn(const std::string& path, bool bRs485, int nTimeoutMs = kDefaultScanTimeoutMs);
    // Ends the scan, gives the link's replies back to the interpreter and
    // closes a connection of its own.
    void Stop();
    bool Running() const { return m_bRunning; }
    const std::vector<CScanAnswer>& Answers() const;

    std::function<void()> onConnecting;  // a connection of its own is being made
    std::function<void(int asked, int total)> onProgress;
    std::function<void()> onAnswer;                     // each answer, a late one too
    std::function<void()> onFinished;                   // every address asked
    std::function<void(const CLinkFailure&)> onFailed;  // the connection of its own failed

private:
    void Begin(std::unique_ptr<IScanLine> line);
    void WatchConnecting();
    void OnPortReadable();
    void Fail();
    void Step();

    std::unique_ptr<CScanPort> m_pPort;
    QSocketNotifier* m_pPortNotifier = nullptr;
    std::unique_ptr<CBusScan> m_pScan;
    QTimer m_timer;
    QTimer m_connectTimer;
    bool m_bRs485 = false;
    int m_nTimeoutMs = kDefaultScanTimeoutMs;
    bool m_bRunning = false;
};

// 通信 > ネットワーク制御: while it is on, the program's settings in memory are
// served to panels and control systems in the Videohub protocol, through the
// program's own link, so that the editors and the network's clients share one
// truth and one serial line. Runs on the GUI thread: the server's descriptor
// and its deadline wake it, and the main window has it look again whenever
// the switcher answered or the operator changed something.
#pragma once

#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

class CControlServer;
class QSocketNotifier;

class CNetworkControl {
public:
    CNetworkControl();
    ~CNetworkControl();
    CNetworkControl(const CNetworkControl&) = delete;
    CNetworkControl& operator=(const CNetworkControl&) = delete;

    // Serves on the profile's port and address the switcher the program
    // talks to now; false, after a box saying why, when the port cannot be
    // listened on.
    bool Start();
    // Closes the port; every client is dropped.
    void Stop();
    bool Running() const { return m_pServer != nullptr; }
    // Serves afresh when running: the link was restarted.
    void Restart();
    // After a command: serves afresh when the program now talks to another
    // switcher than the one served, then as Service.
    void Follow();
    // Settles what the switcher answered, takes what clients sent and tells
    // them what changed in the settings.
    void Service();

    // "ネットワーク制御 9990 (2)" for the link's pane while running; else empty.
    QString PaneText() const;
    // "ネットワーク制御 ポート 9990 (2 クライアント)"; else empty.
    QString StatusText() const;
    // Called when it started or stopped, and after each Service.
    void SetChangeCallback(std::function<void()> callback) { m_onChange = std::move(callback); }

private:
    void Changed();

    std::unique_ptr<CControlServer> m_pServer;
    std::unique_ptr<QSocketNotifier> m_pNotifier;
    QTimer m_deadline;
    int m_nServedAddress = -1;
    bool m_bServicing = false;
    std::function<void()> m_onChange;
};

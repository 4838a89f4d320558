// The program's only top-level window: a fixed strip at the top-left corner
// of the screen with the menu, the tool bar and the status bar with a clock.
// It owns the link's lifetime (brought up in the constructor, ended by
// ShutdownLink), routes every command to its handler, and watches the link.
#pragma once

#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <map>
#include <memory>

#include "app/file_commands.h"
#include "app/network_control.h"
#include "app/profile_problems.h"
#include "app/simulator_link.h"
#include "link/comm_log.h"
#include "sim/virtual_switcher.h"

class CLinkPane;
class QAction;
class QLabel;
class QSocketNotifier;

struct CStartOptions {
    bool bSimulator = false;               // the built-in virtual switcher instead of a serial port
    int nSimModel = -1;                    // -1 = the profile's model
    int nSimRs485Address = -1;             // -1 = RS-232C
    std::vector<CSwitcherOptions> simBus;  // several virtual switchers on one RS-485 line
};

class CMainFrame : public QMainWindow {
    Q_OBJECT
public:
    explicit CMainFrame(const CStartOptions& options = {},
                        std::unique_ptr<CFileDialogs> fileDialogs = nullptr);
    ~CMainFrame() override;

    // Runs the command of a menu item or tool-bar button.
    void OnCommand(int nCommand);
    // The connection monitor's tick.
    void OnMonitorTimer();
    // A context-menu request at a position in the window, menu bar included
    // ((-1, -1) from the keyboard).
    void OnContextMenuAt(QPoint windowPos);
    // Stops the monitor and the link, then ends the program's event loop.
    void ShutdownLink();
    // Loads a settings file as File Open does once its dialog has returned
    // (the file named on the command line).
    void OpenFile(const std::string& path);

    // Gives a command a handler (later dialogs register theirs); commands
    // without one stay disabled.
    void SetCommandHandler(int nCommand, std::function<void()> handler);
    QAction* Action(int nCommand) const;
    QTimer& MonitorTimer() { return m_monitorTimer; }
    QLabel* TimePane() const { return m_pTimePane; }
    CLinkPane* LinkPane() const { return m_pLinkPane; }
    bool IsLinkShutDown() const { return m_bShutDown; }
    // Every line on the link since start-up, and the program's notes.
    CCommLog& CommLog() { return m_commLog; }

protected:
    void closeEvent(QCloseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void BringUpLink(const CStartOptions& options);
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    void RegisterHandlers();
    void OnUpdateTime();
    void OnStatusMessage(const QString& message);
    void OnExit();
    void OnReplyPaced();
    void OnNetworkControl();
    void OnNetworkChanged();
    void SimulatorFollowsModel(int nModelBefore);
    void RunEditor(const std::function<int()>& run, bool bReopen = true);

    CCommLog m_commLog;  // every line on the link since start-up
    CProfileProblems m_profileProblems{m_commLog};
    std::unique_ptr<CSimulatorLink> m_pSimulator;
    std::unique_ptr<CFileDialogs> m_pFileDialogs;
    std::map<int, QAction*> m_actions;
    std::map<int, std::function<void()>> m_handlers;
    QTimer m_monitorTimer;
    QTimer m_clockTimer;
    QSocketNotifier* m_pReplyNotifier = nullptr;
    CNetworkControl m_network;  // 通信 > ネットワーク制御
    QLabel* m_pTimePane = nullptr;
    CLinkPane* m_pLinkPane = nullptr;
    QLabel* m_pFirstIndicator = nullptr;  // the link pane's right-hand neighbour
    unsigned m_nTimePane = 5;
    bool m_bShutDown = false;
};

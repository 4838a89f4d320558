#include "app/main_frame.h"
#include "dialog_kit/corner_clicks.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QShortcut>
#include <QSocketNotifier>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <ctime>

#include "app/comm_dialogs.h"
#include "app/comm_log_window.h"
#include "app/file_commands.h"
#include "app/link_pane.h"
#include "app/link_words.h"
#include "app/network_control_setting.h"
#include "app/reply_pace_setting.h"
#include "app/routing_window.h"
#include "app/simulator_link.h"
#include "app/titles_commands.h"
#include "dialog_kit/found_model.h"
#include "dialog_kit/qt_text.h"
#include "dialogs/all_items_dlg.h"
#include "dialogs/auto_sequence_dlg.h"
#include "dialogs/calendar_dlg.h"
#include "dialogs/display_switch_dlg.h"
#include "dialogs/pattern_output_dlg.h"
#include "dialogs/settings_compare_dlg.h"
#include "dialogs/settings_read_dlg.h"
#include "dialogs/slave_address_dlg.h"
#include "dialogs/title_dlg.h"
#include "link/comm_settings.h"
#include "link/connection_monitor.h"
#include "link/link_context.h"
#include "link/link_lifetime.h"
#include "link/reply_dispatch.h"
#include "link/reply_queue.h"
#include "model/settings_model.h"
#include "res/command_ids.h"
#include "res/main_menu.h"
#include "sink/message_sink.h"

namespace {

constexpr int kMonitorPeriodMs = 500;
constexpr int kClockPeriodMs = 1000;
constexpr int kFrameWidth = 608;
constexpr int kCornerClicksToOpen = 10;
constexpr int kCornerSize = 20;  // pixels from the window's top-left, each way
// Twelve 52-pixel buttons do not fit the 608-pixel strip; narrower ones show
// all ten labelled, the two spare ones and the routing window's.
constexpr int kToolButtonWidth = 46;
constexpr int kMessageMargin = 12;  // the status bar's around its message, with room to spare

}  // namespace

CMainFrame::CMainFrame(const CStartOptions& options, std::unique_ptr<CFileDialogs> fileDialogs)
    : m_pFileDialogs(fileDialogs ? std::move(fileDialogs)
                                 : std::make_unique<CQtFileDialogs>(&m_profileProblems)) {
    BringUpLink(options);
    setWindowTitle(options.bSimulator ? "Qelvar - Simulator" : "Qelvar");
    // A system menu and a minimise box only: the strip is neither sized nor maximised.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    RegisterHandlers();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    m_network.SetChangeCallback([this] { OnNetworkChanged(); });
    if (ReadNetworkControlSetting().bOn) m_network.Start();
    connect(&m_monitorTimer, &QTimer::timeout, this, &CMainFrame::OnMonitorTimer);
    m_monitorTimer.start(kMonitorPeriodMs);
    move(0, 0);
    setFixedSize(kFrameWidth, sizeHint().height());
}

CMainFrame::~CMainFrame() {
    m_network.SetChangeCallback(nullptr);  // the item and the pane are going
    m_network.Stop();
    if (!m_bShutDown) StopLink();
}

// Profile, model reset, port, receive thread: in this order.
void CMainFrame::BringUpLink(const CStartOptions& options) {
    const CCommSettingsRead read = ReadCommSettings();
    if (read.fault) {
        const bool bDefaultPort = !options.bSimulator && Link().CommPortOverride().empty();
        m_profileProblems.NotRead(*read.fault, bDefaultPort);
    }
    for (const auto& note : read.notes) m_commLog.AddNote(note);
    Link().SetReplyPaced(ReadReplyPaceSetting());
    if (options.bSimulator) {
        m_pSimulator = std::make_unique<CSimulatorLink>(options.nSimRs485Address, options.simBus);
        if (!m_pSimulator->Start(options.nSimModel >= 0 ? options.nSimModel : g_nModel)) {
            ShowSetupError("Miss! File Open\nvirtual switcher: " + m_pSimulator->Error());
        }
    }
    ResetModelDefaults();
    if (m_pSimulator) m_pSimulator->AdoptSlaveAddress();
    StartLink(ShowSetupBox);  // a set-up box for each step that fails, as it fails
    m_commLog.FollowLink(LinkChangeWords);
    m_pReplyNotifier = new QSocketNotifier(Link().Replies().ReadyFd(), QSocketNotifier::Read, this);
    // The control server's answers are among the replies: it settles them at once.
    connect(m_pReplyNotifier, &QSocketNotifier::activated, this, [this] {
        DispatchReplies();
        FollowRoutingWindow(this);  // a take's GO lands before clients are told
        m_network.Service();
    });
}

void CMainFrame::RegisterHandlers() {
    QWidget* self = this;
    m_handlers[ID_FILE_NEW_SETTINGS] = [this] {
        if (OnFileNew()) statusBar()->showMessage(kFileNameText);
    };
    m_handlers[ID_FILE_OPEN_SETTINGS] = [this, self] {
        const int model = g_nModel;
        OnFileOpen(*m_pFileDialogs, self, m_commLog);
        SimulatorFollowsModel(model);
    };
    m_handlers[ID_FILE_SAVE_SETTINGS] = [this] { OnFileSave(m_commLog); };
    m_handlers[ID_FILE_SAVE_SETTINGS_AS] = [this, self] {
        OnFileSaveAs(*m_pFileDialogs, self, m_commLog);
    };
    m_handlers[ID_FILE_IMPORT_TITLES] = [this, self] {
        OnImportTitles(*m_pFileDialogs, self, m_commLog);
    };
    m_handlers[ID_FILE_EXPORT_TITLES] = [this, self] {
        OnExportTitles(*m_pFileDialogs, self, m_commLog);
    };
    m_handlers[ID_APP_EXIT] = [this] { OnExit(); };
    m_handlers[ID_COMM_SETTINGS] = [this, self] {
        // The link was restarted, perhaps to another switcher: served afresh on it.
        if (OnCommSettings(self, m_profileProblems, m_pSimulator.get())) m_network.Restart();
    };
    m_handlers[ID_MODEL_SELECT] = [this, self] {
        OnModelSelect(self, m_profileProblems, m_pSimulator.get());
    };
    m_handlers[ID_COMM_LOG] = [this, self] { ShowCommLogWindow(m_commLog, self); };
    m_handlers[ID_APP_ABOUT] = [self] { OnAppAbout(self); };
    m_handlers[ID_AUTO_SEQUENCE] = [this, self] {
        RunEditor([self] { return CAutoSequenceDlg(self).exec(); });
    };
    m_handlers[ID_PATTERN_OUTPUT] = [this, self] {
        RunEditor([self] { return CPatternOutputDlg(self).exec(); });
    };
    m_handlers[ID_ROUTING_VIEW] = [self] { ShowRoutingWindow(self); };
    m_handlers[ID_TITLE] = [this, self] { RunEditor([self] { return CTitleDlg(self).exec(); }); };
    m_handlers[ID_INPUT_TITLE] = [this, self] {
        RunEditor([self] { return CDisplaySwitchDlg(DisplaySwitch::kInTitle, self).exec(); });
    };
    m_handlers[ID_OUTPUT_TITLE] = [this, self] {
        RunEditor([self] { return CDisplaySwitchDlg(DisplaySwitch::kOutTitle, self).exec(); });
    };
    m_handlers[ID_TITLE_POSITION] = [this, self] {
        RunEditor([self] { return CDisplaySwitchDlg(DisplaySwitch::kTitlePosition, self).exec(); });
    };
    m_handlers[ID_INPUT_CALENDAR] = [this, self] {
        RunEditor([self] { return CDisplaySwitchDlg(DisplaySwitch::kInCalendar, self).exec(); });
    };
    m_handlers[ID_OUTPUT_CALENDAR] = [this, self] {
        RunEditor([self] { return CDisplaySwitchDlg(DisplaySwitch::kOutCalendar, self).exec(); });
    };
    m_handlers[ID_CALENDAR] = [this, self] {
        RunEditor([self] { return CCalendarDlg(self).exec(); });
    };
    m_handlers[ID_SLAVE_ADDRESS] = [this, self] {
        RunEditor([self] { return CSlaveAddressDlg(self).exec(); }, false);
    };
    m_handlers[ID_ALL_ITEMS] = [self] { CAllItemsDlg(self).exec(); };
    m_handlers[ID_SETTINGS_READ] = [self] { CSettingsReadDlg(self).exec(); };
    m_handlers[ID_SETTINGS_COMPARE] = [self] { CSettingsCompareDlg(self).exec(); };
    m_handlers[ID_REPLY_PACED] = [this] { OnReplyPaced(); };
    m_handlers[ID_NETWORK_CONTROL] = [this] { OnNetworkControl(); };
}

// An editor in which a slave address of the other model was chosen closes
// so that the program can switch models; it opens again in the new shape.
void CMainFrame::RunEditor(const std::function<int()>& run, bool bReopen) {
    while (run() == kSwitchModelResult) {
        const auto model = FoundOtherModel();
        if (!model) return;
        SwitchModel(*model, m_profileProblems, m_pSimulator.get());
        if (!bReopen) return;
    }
}

void CMainFrame::OpenFile(const std::string& path) {
    const int model = g_nModel;
    OpenSettingsFile(path, m_commLog);
    SimulatorFollowsModel(model);
    m_network.Service();
}

// A file of the other model switches the virtual switcher too, as the model
// dialog does, so that it answers with as many inputs as the program expects.
void CMainFrame::SimulatorFollowsModel(int nModelBefore) {
    if (m_pSimulator && g_nModel != nModelBefore) m_pSimulator->Follow(g_bRs485, g_nModel);
}

// The menu item has toggled itself; a run already going keeps its pace.
void CMainFrame::OnReplyPaced() {
    const bool paced = Action(ID_REPLY_PACED)->isChecked();
    Link().SetReplyPaced(paced);
    if (auto fault = WriteReplyPaceSetting(paced)) {
        m_profileProblems.NotKept(*fault, "「応答を待って送信」の設定");
    }
}

// The menu item has toggled itself; the control server unchecks it again when
// its port cannot be had, and that choice is not kept.
void CMainFrame::OnNetworkControl() {
    const bool on = Action(ID_NETWORK_CONTROL)->isChecked();
    if (!on) {
        m_network.Stop();
    } else if (!m_network.Start()) {
        return;
    }
    if (auto fault = WriteNetworkControlOn(on)) {
        m_profileProblems.NotKept(*fault, "「ネットワーク制御」の設定");
    }
}

void CMainFrame::OnNetworkChanged() {
    if (QAction* item = Action(ID_NETWORK_CONTROL)) item->setChecked(m_network.Running());
    if (m_pLinkPane) m_pLinkPane->SetServerText(m_network.PaneText(), m_network.StatusText());
}

void CMainFrame::SetCommandHandler(int nCommand, std::function<void()> handler) {
    m_handlers[nCommand] = std::move(handler);
    if (QAction* action = Action(nCommand)) action->setEnabled(true);
}

QAction* CMainFrame::Action(int nCommand) const {
    auto it = m_actions.find(nCommand);
    return it == m_actions.end() ? nullptr : it->second;
}

void CMainFrame::OnCommand(int nCommand) {
    auto it = m_handlers.find(nCommand);
    if (it != m_handlers.end()) it->second();
    // Clients see what the operator changed, from the switcher the program talks to now.
    m_network.Follow();
    // The interface, address or model may have changed.
    if (m_pLinkPane) m_pLinkPane->Refresh();
}

void CMainFrame::CreateMenus() {
    std::function<void(QMenu*, const std::vector<CMenuItem>&)> fill =
        [&](QMenu* menu, const std::vector<CMenuItem>& items) {
            for (const auto& item : items) {
                if (!item.children.empty()) {
                    fill(menu->addMenu(Text(item.text)), item.children);
                } else if (item.nCommand == 0) {
                    menu->addSeparator();
                } else {
                    QAction* action = menu->addAction(Text(item.text));
                    action->setObjectName(QString::number(item.nCommand));
                    if (const CCommandString* s = FindCommandString(item.nCommand)) {
                        action->setStatusTip(Text(s->prompt));
                        action->setToolTip(Text(s->tip));
                    }
                    action->setEnabled(m_handlers.count(item.nCommand) > 0);
                    action->setCheckable(item.bCheckable);
                    connect(action, &QAction::triggered, this,
                            [this, id = item.nCommand] { OnCommand(id); });
                    m_actions[item.nCommand] = action;
                }
            }
        };
    for (const auto& top : MainMenu()) fill(menuBar()->addMenu(Text(top.text)), top.children);
    Action(ID_FILE_NEW_SETTINGS)->setShortcut(QKeySequence::New);
    Action(ID_FILE_OPEN_SETTINGS)->setShortcut(QKeySequence::Open);
    Action(ID_FILE_SAVE_SETTINGS)->setShortcut(QKeySequence::Save);
    Action(ID_APP_EXIT)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));  // on every platform theme
    // F10 opens the first menu, as on the usual Linux desktops; Alt alone
    // highlights the menu bar (the style's own key navigation).
    connect(new QShortcut(QKeySequence(Qt::Key_F10), this), &QShortcut::activated, this, [this] {
        if (!menuBar()->actions().isEmpty())
            menuBar()->setActiveAction(menuBar()->actions().front());
    });
    Action(ID_REPLY_PACED)->setChecked(Link().ReplyPaced());
}

void CMainFrame::CreateToolBar() {
    QToolBar* bar = addToolBar("toolbar");
    bar->setObjectName("59392");
    bar->setMovable(false);
    bar->setContentsMargins(0, 0, 0, 0);
    bar->layout()->setSpacing(0);
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    for (const auto& button : ToolbarButtons()) {
        QAction* action = Action(button.nCommand);
        if (!action) {  // a button without a command: shown, never enabled
            action = new QAction(this);
            action->setObjectName(QString::number(button.nCommand));
            action->setEnabled(false);
            m_actions[button.nCommand] = action;
        }
        bar->addAction(action);
        auto* tool = qobject_cast<QToolButton*>(bar->widgetForAction(action));
        tool->setText(Text(button.label));
        tool->setFixedSize(kToolButtonWidth, 32);
    }
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setSizeGripEnabled(false);  // the window has a fixed size
    bar->setObjectName("59393");
    const std::pair<int, const char*> indicators[] = {{ID_INDICATOR_KANA, "ｶﾅ"},
                                                      {ID_INDICATOR_CAPS, "CAP"},
                                                      {ID_INDICATOR_NUM, "NUM"},
                                                      {ID_INDICATOR_SCRL, "SCRL"}};
    m_pLinkPane = new CLinkPane(bar);
    if (m_pSimulator) m_pLinkPane->SetPortLabel("シミュレータ");
    bar->addPermanentWidget(m_pLinkPane);
    for (auto [id, text] : indicators) {
        auto* pane = new QLabel(text, bar);
        pane->setObjectName(QString::number(id));
        pane->setEnabled(false);  // the platform reports no lock states to us
        bar->addPermanentWidget(pane);
        if (!m_pFirstIndicator) m_pFirstIndicator = pane;
    }
    m_pTimePane = new QLabel(bar);
    m_pTimePane->setObjectName(QString::number(ID_INDICATOR_TIME));
    bar->addPermanentWidget(m_pTimePane);
    bar->showMessage(kIdlePrompt);
    connect(bar, &QStatusBar::messageChanged, this, &CMainFrame::OnStatusMessage);
    connect(&m_clockTimer, &QTimer::timeout, this, &CMainFrame::OnUpdateTime);
    m_clockTimer.start(kClockPeriodMs);
    OnUpdateTime();
}

// A prompt gets the room the indicators and the clock do not need: the link
// pane steps aside while one is shown that would not fit beside it, and is
// back with "ﾚﾃﾞｨ".
void CMainFrame::OnStatusMessage(const QString& message) {
    if (message.isEmpty()) {
        statusBar()->showMessage(kIdlePrompt);
        return;
    }
    const int room = m_pFirstIndicator->x() - kMessageMargin;
    const int wanted = statusBar()->fontMetrics().horizontalAdvance(message) + kMessageMargin +
                       m_pLinkPane->sizeHint().width();
    m_pLinkPane->setVisible(message == kIdlePrompt || wanted <= room);
}

// With the clock, the link pane catches up with an address or model changed
// in a dialog still open.
void CMainFrame::OnUpdateTime() {
    m_pLinkPane->Refresh();
    std::time_t now = std::time(nullptr);
    char text[64] = "";
    std::strftime(text, sizeof text, "%X", std::localtime(&now));
    m_pTimePane->setText(QString::fromLocal8Bit(text));
    m_pTimePane->setFixedWidth(m_pTimePane->fontMetrics().horizontalAdvance(m_pTimePane->text()) +
                               8);
}

void CMainFrame::OnMonitorTimer() {
    MonitorTick();
}

// A window manager's title bar and border cover the screen's corner, so the
// corner is the top-left of the window's own area (the menu bar's left end).
void CMainFrame::contextMenuEvent(QContextMenuEvent* event) {
    OnContextMenuAt(event->reason() == QContextMenuEvent::Keyboard
                        ? QPoint(-1, -1)
                        : mapFromGlobal(event->globalPos()));
}

void CMainFrame::OnContextMenuAt(QPoint windowPos) {
    if (windowPos.x() < kCornerSize && windowPos.y() < kCornerSize) {
        ++g_nCornerClicks;
    } else {
        g_nCornerClicks = 0;
    }
    if (g_nCornerClicks >= kCornerClicksToOpen) {
        g_nCornerClicks = 0;
        OnCommand(ID_SETTINGS_READ);
    }
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (m_bShutDown) {  // the application is quitting after ShutdownLink
        event->accept();
        return;
    }
    event->ignore();  // closing goes through the exit prompt
    OnExit();
}

void CMainFrame::OnExit() {
    if (ExitPrompt(*m_pFileDialogs, this, m_commLog)) ShutdownLink();
}

void CMainFrame::ShutdownLink() {
    if (m_bShutDown) return;
    m_monitorTimer.stop();
    m_network.Stop();
    StopLink();
    m_bShutDown = true;
    QApplication::quit();
}

#include "app/network_control.h"

#include <QSocketNotifier>
#include <cctype>

#include "app/network_control_setting.h"
#include "link/comm_settings.h"
#include "model/settings_model.h"
#include "server/control_server.h"
#include "sink/message_sink.h"

namespace {

// The switcher the program talks to, as the server addresses its lines.
int ProgramAddress() {
    return g_bRs485 ? g_nSlaveAddress : -1;
}

// The same port gives the same unique id on every start.
std::string LinkName() {
    const std::string name = CommPortName();
    return name.empty() ? CommPortPath() : name;
}

// "Cannot listen on port 9990: Address already in use", as the link's boxes read.
std::string BoxText(std::string error) {
    if (!error.empty())
        error[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(error[0])));
    return error;
}

CServeSettings ServeSettings(const CNetworkControlSetting& setting) {
    CServeSettings serve;
    serve.strListen = setting.strListen;
    serve.nBasePort = setting.nPort;
    serve.strLinkName = LinkName();
    serve.strStatePath = NetworkControlStatePath();
    serve.bReadBack = false;  // the settings in memory are what is served
    // A title a client set is the operator's to save, as one typed in the editor.
    serve.onTitlesChanged = [] { g_bModified = 1; };
    return serve;
}

}  // namespace

CNetworkControl::CNetworkControl() {
    m_deadline.setSingleShot(true);
    QObject::connect(&m_deadline, &QTimer::timeout, &m_deadline, [this] { Service(); });
}

CNetworkControl::~CNetworkControl() {
    m_onChange = nullptr;  // the window it tells may be going
    Stop();
}

bool CNetworkControl::Start() {
    if (m_pServer) return true;
    const CNetworkControlSetting setting = ReadNetworkControlSetting();
    CServedUnit unit;
    unit.nAddress = ProgramAddress();
    // The profile's port, whichever switcher it serves: the state file would
    // keep one port per address, and the program serves one at a time.
    unit.nPort = setting.nPort;
    unit.pTables = &g_settings;
    auto server = std::make_unique<CControlServer>(ServeSettings(setting), std::vector{unit});
    std::string error;
    if (!server->Listen(error)) {
        ShowSetupError(BoxText(error));
        Changed();
        return false;
    }
    m_pServer = std::move(server);
    m_nServedAddress = unit.nAddress;
    m_pNotifier = std::make_unique<QSocketNotifier>(m_pServer->Fd(), QSocketNotifier::Read);
    QObject::connect(m_pNotifier.get(), &QSocketNotifier::activated, m_pNotifier.get(),
                     [this] { Service(); });
    Service();
    return true;
}

void CNetworkControl::Stop() {
    if (!m_pServer) return;
    m_deadline.stop();
    m_pNotifier.reset();  // before the server closes the descriptor it watches
    m_pServer.reset();
    Changed();
}

void CNetworkControl::Restart() {
    if (!m_pServer) return;
    Stop();
    Start();
}

void CNetworkControl::Follow() {
    if (m_pServer && m_nServedAddress != ProgramAddress()) Restart();
    Service();
}

void CNetworkControl::Service() {
    if (!m_pServer || m_bServicing) return;
    m_bServicing = true;
    m_pServer->Service();
    m_bServicing = false;
    const int timeout = m_pServer->TimeoutMs();
    if (timeout >= 0) {
        m_deadline.start(timeout);
    } else {
        m_deadline.stop();
    }
    Changed();
}

QString CNetworkControl::PaneText() const {
    if (!m_pServer) return {};
    return QString("ネットワーク制御 %1 (%2)")
        .arg(m_pServer->Unit(0).nPort)
        .arg(m_pServer->ClientCount());
}

QString CNetworkControl::StatusText() const {
    if (!m_pServer) return {};
    return QString("ネットワーク制御 ポート %1 (%2 クライアント)")
        .arg(m_pServer->Unit(0).nPort)
        .arg(m_pServer->ClientCount());
}

void CNetworkControl::Changed() {
    if (m_onChange) m_onChange();
}

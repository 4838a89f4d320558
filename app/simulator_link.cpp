#include "app/simulator_link.h"

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "sim/switcher_server.h"

CSimulatorLink::CSimulatorLink(int nRs485Address, std::vector<CSwitcherOptions> bus)
    : m_nRs485Address(bus.empty() ? nRs485Address : bus.front().nAddress), m_bus(std::move(bus)) {}

CSimulatorLink::~CSimulatorLink() {
    if (m_pServer && m_pServer->IsRunning()) Link().SetCommPortOverride("");
}

bool CSimulatorLink::Start(int nModel) {
    CSwitcherOptions options;
    options.nModel = nModel;
    options.bRs485 = m_nRs485Address >= 0;
    options.nAddress = m_nRs485Address >= 0 ? m_nRs485Address : 0;
    options.bAnyAddress = m_nRs485Address < 0;
    if (!m_bus.empty()) options = m_bus.front();
    m_pServer = std::make_unique<CSwitcherServer>(options);
    for (size_t i = 1; i < m_bus.size(); ++i) m_pServer->AddSwitcher(m_bus[i]);
    if (!m_pServer->Start()) {
        m_error = m_pServer->Error();
        return false;
    }
    Link().SetCommPortOverride(m_pServer->DevicePath());
    g_bRs485 = options.bRs485;
    g_nModel = nModel;
    return true;
}

void CSimulatorLink::AdoptSlaveAddress() const {
    if (m_nRs485Address >= 0) g_nSlaveAddress = m_nRs485Address;
}

void CSimulatorLink::Follow(int bRs485, int nModel) {
    if (!m_pServer) return;
    m_pServer->Reconfigure(m_bus.empty() ? nModel : -1, bRs485 != 0, m_nRs485Address < 0);
}

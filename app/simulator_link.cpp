#include "app/simulator_link.h"

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "model/settings_model.h"
#include "sim/switcher_server.h"

CSimulatorLink::CSimulatorLink(int nModel, int nRs485Address)
    : m_nModel(nModel), m_nRs485Address(nRs485Address) {}

CSimulatorLink::~CSimulatorLink() {
    if (m_pServer && m_pServer->IsRunning()) Link().SetCommPortOverride("");
}

bool CSimulatorLink::Start(int nModel) {
    CSwitcherOptions options;
    options.nModel = nModel;
    options.bRs485 = m_nRs485Address >= 0;
    options.nAddress = m_nRs485Address >= 0 ? m_nRs485Address : 0;
    options.bAnyAddress = m_nRs485Address < 0;
    m_pServer = std::make_unique<CSwitcherServer>(options);
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
    if (m_pServer) m_pServer->Reconfigure(nModel, bRs485 != 0, m_nRs485Address < 0);
}

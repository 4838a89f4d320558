// What the control server serves: the units' presence, the read-back of what
// the switcher holds, the announcements of every change, the state file.
#include <sys/epoll.h>

#include <cstdio>
#include <memory>

#include "link/ini_file.h"
#include "protocol/fields.h"
#include "protocol/read_lines.h"
#include "protocol/routing_lines.h"
#include "protocol/switcher_model.h"
#include "protocol/title_lines.h"
#include "server/control_server.h"
#include "server/read_landing.h"
#include "server/server_state_file.h"

namespace {

// A switcher that did not answer the read-back is asked again this often.
constexpr auto kReadBackRetry = std::chrono::seconds(5);

std::string FriendlyName(const CServeSettings& settings, const CServedUnit& unit) {
    std::string name =
        settings.strFriendlyName.empty() ? std::string("Qelvar") : settings.strFriendlyName;
    if (unit.nAddress >= 0) name += " " + TwoDigits(unit.nAddress);
    return name;
}

// The same for the same link and address on every start (FNV-1a).
std::string UniqueId(const std::string& link, int nAddress) {
    unsigned long long hash = 1469598103934665603ULL;
    for (char c : link + "#" + std::to_string(nAddress)) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    }
    char id[16];
    std::snprintf(id, sizeof id, "%012llX", hash & 0xFFFFFFFFFFFFULL);
    return id;
}

}  // namespace

CControlServer::CControlServer(CServeSettings settings, std::vector<CServedUnit> units)
    : m_settings(std::move(settings)),
      m_units(std::move(units)),
      m_announced(m_units.size()),
      m_listeners(m_units.size(), -1),
      m_readBackDue(m_units.size()),
      m_readBackRunning(m_units.size(), false),
      m_epoll(::epoll_create1(EPOLL_CLOEXEC)) {
    for (CServedUnit& unit : m_units) {
        for (int o = 0; o < kOutputs; ++o) unit.outputLabels[o] = DefaultOutputLabel(o);
        if (!m_settings.bReadBack) unit.bLoaded = true;
    }
    LoadState();
    for (const CServedUnit& unit : m_units) {
        m_identities.push_back(
            {FriendlyName(m_settings, unit), UniqueId(m_settings.strLinkName, unit.nAddress)});
    }
}

void CControlServer::Snapshot(size_t nUnit, bool bPresent) {
    const CSettingsTables& tables = *m_units[nUnit].pTables;
    CAnnounced& told = m_announced[nUnit];
    told.bPresent = bPresent;
    told.nInputs = ServedInputs(m_units[nUnit]);
    told.row = tables.m_nPattern[kDirectRow];
    told.titles = tables.m_strTitle;
}

// Tells the unit's clients what differs from what they were last told: the
// whole device when it comes or goes (or its model changed), else the
// routes and input labels that changed.
void CControlServer::Announce(size_t u) {
    const CServedUnit& unit = m_units[u];
    const CAnnounced told = m_announced[u];
    const bool bPresent = unit.bLoaded && LinkUp();
    if (bPresent != told.bPresent || (bPresent && ServedInputs(unit) != told.nInputs)) {
        Snapshot(u, bPresent);
        // Sent outside the walk over the clients: a send may drop one.
        std::vector<std::pair<int, unsigned long>> clients;
        for (const auto& [fd, client] : m_clients) {
            if (client.nUnit == u) clients.emplace_back(fd, client.connection->Id());
        }
        for (const auto& [fd, id] : clients) {
            SendTo(fd, DeviceBlocks(unit, bPresent, m_identities[u], id));
        }
        return;
    }
    if (!bPresent) return;
    std::vector<NumberedItem> routes;
    std::vector<NumberedItem> labels;
    for (int o = 0; o < kOutputs; ++o) {
        if (unit.pTables->m_nPattern[kDirectRow][o] == told.row[o]) continue;
        const int input = RoutedInput(unit, o);
        if (input >= 0) routes.emplace_back(o, std::to_string(input));
    }
    for (int i = 0; i < InputChannels(*unit.pTables); ++i) {
        if (unit.pTables->m_strTitle[i] != told.titles[i]) {
            labels.emplace_back(i, InputLabel(*unit.pTables, i));
        }
    }
    Snapshot(u, bPresent);
    if (!labels.empty()) SendToUnit(u, FormatNumbered(kInputLabelsHeader, labels));
    if (!routes.empty()) SendToUnit(u, FormatNumbered(kOutputRoutingHeader, routes));
}

void CControlServer::Refresh() {
    const bool bUp = LinkUp();
    if (bUp && !m_bLinkWasUp && m_settings.bReadBack) {
        // Back after a loss: what the switcher holds may have changed meanwhile.
        for (size_t u = 0; u < m_units.size(); ++u) {
            if (!m_readBackRunning[u]) {
                m_units[u].bLoaded = false;
                m_readBackDue[u] = {};
            }
        }
    }
    m_bLinkWasUp = bUp;
    for (size_t u = 0; u < m_units.size(); ++u) Announce(u);
}

void CControlServer::RetryReadBacks() {
    if (!m_settings.bReadBack || !LinkUp()) return;
    const auto now = std::chrono::steady_clock::now();
    for (size_t u = 0; u < m_units.size(); ++u) {
        if (!m_units[u].bLoaded && !m_readBackRunning[u] && now >= m_readBackDue[u]) ReadBack(u);
    }
}

// ROT and the title of every input in use, one line at a time, into a copy
// that becomes what is served only once every line has landed.
void CControlServer::ReadBack(size_t u) {
    CServedUnit& unit = m_units[u];
    const int nInputs = InputChannels(*unit.pTables);
    auto copy = std::make_shared<CSettingsTables>(*unit.pTables);
    auto failed = std::make_shared<bool>(false);
    m_readBackRunning[u] = true;
    std::vector<CReadRequest> reads{{DataLine::kOutputs, 0}};
    for (int c = 1; c <= nInputs; ++c) reads.push_back({DataLine::kTitle, c});
    for (size_t i = 0; i < reads.size(); ++i) {
        const CReadRequest read = reads[i];
        const bool bLast = i + 1 == reads.size();
        m_gate.Queue(
            unit.nAddress,
            [failed, read]() { return *failed ? std::string() : FormatReadCommand(read); },
            [this, u, copy, failed, read, bLast, nInputs](const CGateAnswer& answer) {
                if (!*failed && !(answer.bAnswered &&
                                  LandRead(read, LineBody(answer.strLine), nInputs, *copy))) {
                    *failed = true;
                }
                if (!bLast) return;
                m_readBackRunning[u] = false;
                if (*failed) {
                    m_readBackDue[u] = std::chrono::steady_clock::now() + kReadBackRetry;
                    return;
                }
                m_units[u].pTables->m_nPattern[kDirectRow] = copy->m_nPattern[kDirectRow];
                m_units[u].pTables->m_strTitle = copy->m_strTitle;
                m_units[u].bLoaded = true;
                Refresh();
            });
    }
}

void CControlServer::LoadState() {
    if (m_settings.strStatePath.empty()) return AssignPorts(m_settings.nBasePort, m_units);
    LoadServerState(m_settings.strStatePath, m_settings.nBasePort, m_units);
}

void CControlServer::SaveState() const {
    if (m_settings.strStatePath.empty()) return;
    SaveServerState(m_settings.strStatePath, m_settings.nBasePort, m_units);
}

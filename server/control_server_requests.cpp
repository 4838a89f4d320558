// What a client asks of the control server: dumps, routes, labels, locks.
#include <memory>

#include "editors/title_fold.h"
#include "protocol/replies.h"
#include "protocol/routing_lines.h"
#include "protocol/title_lines.h"
#include "server/control_server.h"
#include "videohub/request_lines.h"

namespace {

// Requests of one client waiting for the switcher at most: one that sends
// without end is refused beyond them and cannot hold the line from the others.
constexpr int kMaxWaitingPerClient = 8;

bool IsGo(const CGateAnswer& answer) {
    return answer.bAnswered && ReadReply(answer.strLine).kind == ReplyKind::kGo;
}

}  // namespace

void CControlServer::OnBlock(int fd, const CVideohubBlock& block) {
    const std::string& header = block.strHeader;
    if (header == kPingHeader) return SendTo(fd, kAckBlock);
    if (block.lines.empty()) return OnDump(fd, header);
    if (header == kOutputRoutingHeader) return OnRoutes(fd, block);
    if (header == kInputLabelsHeader) return OnInputLabels(fd, block);
    if (header == kOutputLabelsHeader) return OnOutputLabels(fd, block);
    if (header == kOutputLocksHeader) return OnLocks(fd, block);
    SendTo(fd, kNakBlock);
}

void CControlServer::OnDump(int fd, const std::string& header) {
    const CClient& client = m_clients[fd];
    const size_t u = client.nUnit;
    const CServedUnit& unit = m_units[u];
    const unsigned long id = client.connection->Id();
    const bool bPresent = m_announced[u].bPresent;
    std::string block;
    if (header == kPreambleHeader) {
        block = FormatPreamble();
    } else if (header == kDeviceHeader) {
        block = FormatDevice(UnitDevice(unit, bPresent, m_identities[u]));
    } else if (bPresent && header == kInputLabelsHeader) {
        block = FormatNumbered(kInputLabelsHeader, InputLabelItems(unit));
    } else if (bPresent && header == kOutputLabelsHeader) {
        block = FormatNumbered(kOutputLabelsHeader, OutputLabelItems(unit));
    } else if (bPresent && header == kOutputLocksHeader) {
        block = FormatNumbered(kOutputLocksHeader, LockItems(unit, id));
    } else if (bPresent && header == kOutputRoutingHeader) {
        block = FormatNumbered(kOutputRoutingHeader, RoutingItems(unit));
    } else {
        return SendTo(fd, kNakBlock);
    }
    SendTo(fd, std::string(kAckBlock) + block);
}

bool CControlServer::LockedAgainst(size_t nUnit, int nOutput, unsigned long clientId) const {
    const unsigned long owner = m_units[nUnit].lockOwner[nOutput];
    return owner != 0 && owner != clientId;
}

void CControlServer::Settled(unsigned long clientId) {
    if (--m_waiting[clientId] <= 0) m_waiting.erase(clientId);
}

void CControlServer::Answer(unsigned long clientId, bool bOk) {
    auto found = m_clientFds.find(clientId);
    if (found != m_clientFds.end()) SendTo(found->second, bOk ? kAckBlock : kNakBlock);
}

// Several routes in one block go out as one OT line: one salvo. The line is
// built from the direct row as it stands when it goes out, so a route that
// landed meanwhile is kept.
void CControlServer::OnRoutes(int fd, const CVideohubBlock& block) {
    const size_t u = m_clients[fd].nUnit;
    const unsigned long id = m_clients[fd].connection->Id();
    const auto routes = ParseRouteLines(block.lines, kOutputs, ServedInputs(m_units[u]));
    bool bOk = routes && m_announced[u].bPresent && m_waiting[id] < kMaxWaitingPerClient;
    for (const auto& route : routes ? *routes : std::vector<CVideohubRoute>{}) {
        bOk = bOk && !LockedAgainst(u, route.nOutput, id);
    }
    if (!bOk) return SendTo(fd, kNakBlock);
    CSettingsTables* tables = m_units[u].pTables;
    ++m_waiting[id];
    auto routed = [tables, routes]() {
        OutputRow row = tables->m_nPattern[kDirectRow];
        for (const auto& route : *routes) row[route.nOutput] = route.nInput;
        return row;
    };
    m_gate.Queue(
        m_units[u].nAddress,
        [tables, routed]() { return FormatOutputsLine(routed(), InputChannels(*tables)); },
        [this, tables, routed, id](const CGateAnswer& answer) {
            const bool bGo = IsGo(answer);
            if (bGo) tables->m_nPattern[kDirectRow] = routed();
            Settled(id);
            Answer(id, bGo);
            Refresh();
        });
}

// Each label is one CA line, in order; the first that fails ends the rest
// unsent, and those that landed stay (and are announced).
void CControlServer::OnInputLabels(int fd, const CVideohubBlock& block) {
    const size_t u = m_clients[fd].nUnit;
    const unsigned long id = m_clients[fd].connection->Id();
    CSettingsTables* tables = m_units[u].pTables;
    const auto labels = ParseLabelLines(block.lines, ServedInputs(m_units[u]));
    if (!labels || !m_announced[u].bPresent || m_waiting[id] >= kMaxWaitingPerClient) {
        return SendTo(fd, kNakBlock);
    }
    std::vector<std::pair<int, std::string>> titles;
    for (const CVideohubLabel& label : *labels) {
        const CTitleFold fold = FoldTitle(label.text);
        if (label.nPort >= InputChannels(*tables) || !fold.Accepted()) return SendTo(fd, kNakBlock);
        titles.emplace_back(label.nPort, fold.title);
    }
    auto failed = std::make_shared<bool>(false);
    ++m_waiting[id];
    for (size_t i = 0; i < titles.size(); ++i) {
        const int channel = titles[i].first;
        const std::string title = titles[i].second;
        const bool bLast = i + 1 == titles.size();
        m_gate.Queue(
            m_units[u].nAddress,
            [failed, channel, title]() {
                return *failed ? std::string() : FormatTitleTextLine(channel, title);
            },
            [this, tables, failed, channel, title, bLast, id](const CGateAnswer& answer) {
                if (!*failed && IsGo(answer)) {
                    tables->m_strTitle[channel] = title;
                    if (m_settings.onTitlesChanged) m_settings.onTitlesChanged();
                } else {
                    *failed = true;
                }
                if (bLast) {
                    Settled(id);
                    Answer(id, !*failed);
                }
                Refresh();
            });
    }
}

void CControlServer::OnOutputLabels(int fd, const CVideohubBlock& block) {
    const size_t u = m_clients[fd].nUnit;
    const auto labels = ParseLabelLines(block.lines, kOutputs);
    if (!labels) return SendTo(fd, kNakBlock);
    std::vector<NumberedItem> changed;
    for (const CVideohubLabel& label : *labels) {
        m_units[u].outputLabels[label.nPort] = label.text;
        changed.emplace_back(label.nPort, label.text);
    }
    SaveState();
    SendTo(fd, kAckBlock);
    SendToUnit(u, FormatNumbered(kOutputLabelsHeader, changed));
}

void CControlServer::OnLocks(int fd, const CVideohubBlock& block) {
    const size_t u = m_clients[fd].nUnit;
    const unsigned long id = m_clients[fd].connection->Id();
    const auto locks = ParseLockLines(block.lines, kOutputs);
    bool bOk = locks.has_value();
    for (const auto& lock : locks ? *locks : std::vector<CVideohubLock>{}) {
        // Taking or giving back a lock another holds is refused; forcing it is not.
        bOk = bOk && (lock.request == LockRequest::kForce || !LockedAgainst(u, lock.nOutput, id));
    }
    if (!bOk) return SendTo(fd, kNakBlock);
    std::vector<int> outputs;
    for (const auto& lock : *locks) {
        m_units[u].lockOwner[lock.nOutput] = lock.request == LockRequest::kOwn ? id : 0;
        outputs.push_back(lock.nOutput);
    }
    SaveState();
    SendTo(fd, kAckBlock);
    SendLocks(u, outputs);
}

void CControlServer::SendLocks(size_t nUnit, const std::vector<int>& outputs) {
    std::vector<int> fds;
    for (const auto& [fd, client] : m_clients) {
        if (client.nUnit == nUnit) fds.push_back(fd);
    }
    for (int fd : fds) {
        if (!m_clients.count(fd)) continue;
        const unsigned long id = m_clients[fd].connection->Id();
        std::vector<NumberedItem> items;
        for (int o : outputs) items.emplace_back(o, LockState(m_units[nUnit], o, id));
        SendTo(fd, FormatNumbered(kOutputLocksHeader, items));
    }
}

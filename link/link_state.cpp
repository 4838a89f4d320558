#include "link/link_state.h"

#include <sys/ioctl.h>

std::string StallText(int modemLines) {
    if (modemLines < 0) return "output stalled";
    if (!(modemLines & TIOCM_CTS)) {
        return "output stalled: CTS is off \u2014 check the cable's handshake lines";
    }
    return "output stalled (CTS is on)";
}

std::string LinkChangeText(const CLinkChange& change) {
    using What = CLinkChange::What;
    const std::string away = change.bNetwork ? "reconnecting" : "waiting for the port";
    const std::string why = LinkFailureText(change.failure);
    std::string text;
    switch (change.what) {
        case What::kConnected:
            text = "connected";
            break;
        case What::kConnecting:
            text = "connecting";
            break;
        case What::kNotOpened:
        case What::kRetrying:
            text = away + " (" + why + ")";
            break;
        case What::kLost:
            text = "lost (" + why + "), " + away;
            break;
        case What::kStalled:
            text = StallText(change.nModemLines);
            break;
        case What::kResumed:
            text = "output moves again";
            break;
    }
    return change.strPort + ": " + text;
}

void CLinkState::Change(LinkStatus status, CLinkChange::What what, const CLinkFailure& failure) {
    m_status = status;
    m_changes.Notify(CLinkChange{what, m_strPort, m_bNetwork, failure, m_nStallLines});
}

void CLinkState::Begin(std::string port, bool bNetwork, LinkStatus status, CLinkFailure failure) {
    m_changedAt = std::chrono::system_clock::now();
    m_strPort = std::move(port);
    m_bNetwork = bNetwork;
    m_bStalled = false;
    if (!failure.Empty()) m_failure = failure;
    switch (status) {
        case LinkStatus::kConnected:
            Change(status, CLinkChange::What::kConnected, {});
            break;
        case LinkStatus::kConnecting:
            Change(status, CLinkChange::What::kConnecting, {});
            break;
        default:
            Change(status, CLinkChange::What::kNotOpened, failure);
            break;
    }
}

void CLinkState::Apply(const CPortEvent& event) {
    m_changedAt = event.time == std::chrono::system_clock::time_point{}
                      ? std::chrono::system_clock::now()
                      : event.time;
    const LinkStatus away = m_bNetwork ? LinkStatus::kReconnecting : LinkStatus::kWaiting;
    switch (event.kind) {
        case CPortEvent::Kind::kConnected:
            m_bStalled = false;
            Change(LinkStatus::kConnected, CLinkChange::What::kConnected, {});
            break;
        case CPortEvent::Kind::kLost:
            ++m_nLosses;
            m_failure = event.failure;
            m_bStalled = false;
            Change(away, CLinkChange::What::kLost, m_failure);
            break;
        case CPortEvent::Kind::kRetrying:
            m_failure = event.failure;
            Change(away, CLinkChange::What::kRetrying, m_failure);
            break;
        case CPortEvent::Kind::kStalled:
            if (m_bStalled && StallText(event.modemLines) == StallText(m_nStallLines)) break;
            m_bStalled = true;
            m_nStallLines = event.modemLines;
            Change(m_status, CLinkChange::What::kStalled, {});
            break;
        case CPortEvent::Kind::kResumed:
            if (!m_bStalled) break;
            m_bStalled = false;
            Change(m_status, CLinkChange::What::kResumed, {});
            break;
    }
}

void CLinkState::End() {
    m_status = LinkStatus::kNoPort;
    m_bStalled = false;
}

void CLinkState::Reset() {
    m_status = LinkStatus::kNoPort;
    m_strPort.clear();
    m_bNetwork = false;
    m_failure = {};
    m_bStalled = false;
    m_nStallLines = -1;
    m_nLosses = 0;
    m_changedAt = {};
    m_changes.Clear();
}

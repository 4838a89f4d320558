#include "link/link_state.h"

#include <sys/ioctl.h>

std::string StallText(int modemLines) {
    if (modemLines < 0) return "output stalled";
    if (!(modemLines & TIOCM_CTS)) {
        return "output stalled: CTS is off \u2014 check the cable's handshake lines";
    }
    return "output stalled (CTS is on)";
}

void CLinkState::Change(LinkStatus status, std::string_view what) {
    m_status = status;
    m_changes.Notify(m_strPort + ": " + std::string(what));
}

void CLinkState::Begin(std::string port, bool bNetwork, LinkStatus status, std::string failure) {
    m_changedAt = std::chrono::system_clock::now();
    m_strPort = std::move(port);
    m_bNetwork = bNetwork;
    m_strStall.clear();
    if (!failure.empty()) m_strFailure = failure;
    switch (status) {
        case LinkStatus::kConnected:
            Change(status, "connected");
            break;
        case LinkStatus::kConnecting:
            Change(status, "connecting");
            break;
        default:
            Change(status,
                   (m_bNetwork ? "reconnecting (" : "waiting for the port (") + failure + ")");
            break;
    }
}

void CLinkState::Apply(const CPortEvent& event) {
    m_changedAt = event.time == std::chrono::system_clock::time_point{}
                      ? std::chrono::system_clock::now()
                      : event.time;
    const LinkStatus away = m_bNetwork ? LinkStatus::kReconnecting : LinkStatus::kWaiting;
    const std::string waiting = m_bNetwork ? "reconnecting" : "waiting for the port";
    switch (event.kind) {
        case CPortEvent::Kind::kConnected:
            m_strStall.clear();
            Change(LinkStatus::kConnected, "connected");
            break;
        case CPortEvent::Kind::kLost:
            ++m_nLosses;
            m_strFailure = event.text;
            m_strStall.clear();
            Change(away, "lost (" + event.text + "), " + waiting);
            break;
        case CPortEvent::Kind::kRetrying:
            m_strFailure = event.text;
            Change(away, waiting + " (" + event.text + ")");
            break;
        case CPortEvent::Kind::kStalled:
            if (StallText(event.modemLines) == m_strStall) break;  // no news
            m_strStall = StallText(event.modemLines);
            Change(m_status, m_strStall);
            break;
        case CPortEvent::Kind::kResumed:
            if (m_strStall.empty()) break;
            m_strStall.clear();
            Change(m_status, "output moves again");
            break;
    }
}

void CLinkState::End() {
    m_status = LinkStatus::kNoPort;
    m_strStall.clear();
}

void CLinkState::Reset() {
    m_status = LinkStatus::kNoPort;
    m_strPort.clear();
    m_bNetwork = false;
    m_strFailure.clear();
    m_strStall.clear();
    m_nLosses = 0;
    m_changedAt = {};
    m_changes.Clear();
}

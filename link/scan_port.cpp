#include "link/scan_port.h"

#include <poll.h>

#include "link/receive_thread.h"
#include "link/serial_port.h"

CScanPort::CScanPort(const std::string& path) : m_pPort(MakeTransport("", path)) {}

CScanPort::~CScanPort() {
    m_pPort->Close();
}

CScanPort::Status CScanPort::Open(Clock::time_point now) {
    // A server takes the line settings once it answers.
    if (m_pPort->OpensInBackground()) m_pPort->ApplyLineSettings(kSwitcherLine);
    m_deadline = now + std::chrono::milliseconds(kConnectTimeoutMs);
    return Finish(m_pPort->Open());
}

CScanPort::Status CScanPort::Continue(Clock::time_point now) {
    if (m_status != Status::kConnecting) return m_status;
    pollfd fd{m_opening.nWaitFd, m_opening.nWaitEvents, 0};
    const bool blind = fd.fd < 0;
    if ((blind || ::poll(&fd, 1, 0) > 0) && (fd.revents || blind)) {
        const bool lookedUp = m_opening.bLookingUp;
        COpenResult opened = m_pPort->FinishOpen();
        // The server gets the whole time-out once its name is known.
        if (lookedUp && !opened.bLookingUp) {
            m_deadline = now + std::chrono::milliseconds(kConnectTimeoutMs);
        }
        if (Finish(opened) != Status::kConnecting) return m_status;
    }
    if (now < m_deadline) return m_status;
    auto why = CLinkFailure::NoAnswer(m_pPort->Description(), kConnectTimeoutMs / 1000);
    if (m_opening.bLookingUp) why.kind = CLinkFailure::Kind::kNoLookupAnswer;
    return Fail(why);
}

CScanPort::Status CScanPort::Finish(const COpenResult& opened) {
    m_opening = opened;
    if (opened.bConnecting) return m_status = Status::kConnecting;
    if (!opened.bOpen) return Fail(opened.failure);
    if (!m_pPort->OpensInBackground() && !SetUpPort(*m_pPort).Ok()) {
        return Fail(CLinkFailure::Of(CLinkFailure::Kind::kNotSerial, m_pPort->DevicePath()));
    }
    return m_status = Status::kOpen;
}

CScanPort::Status CScanPort::Fail(CLinkFailure failure) {
    m_pPort->Close();
    m_failure = std::move(failure);
    return m_status = Status::kFailed;
}

int CScanPort::PollFd() const {
    if (m_status == Status::kConnecting) return m_opening.nWaitFd;
    return m_status == Status::kOpen ? m_pPort->PollFd() : -1;
}

short CScanPort::PollEvents() const {
    return m_status == Status::kConnecting ? m_opening.nWaitEvents : short{POLLIN};
}

bool CScanPort::Write(std::string_view bytes) {
    if (m_status != Status::kOpen) return false;
    while (!bytes.empty()) {
        const CIoResult wrote = m_pPort->Write(bytes);
        if (wrote.status != IoStatus::kDone) return false;  // a question is a few bytes
        bytes.remove_prefix(wrote.nBytes);
    }
    if (m_pPort->HoldsOutput()) m_pPort->FlushHeld();
    return true;
}

void CScanPort::ReadLines(const std::function<void(std::string_view line)>& onLine) {
    char buffer[512];
    while (m_status == Status::kOpen) {
        const CIoResult read = m_pPort->Read(buffer);
        if (m_pPort->HoldsOutput()) m_pPort->FlushHeld();  // a Telnet answer
        if (read.status == IoStatus::kHungUp) {
            Fail(m_pPort->HangUp());
            return;
        }
        if (read.status == IoStatus::kFailed) {
            Fail(CLinkFailure::System(read.nError, m_pPort->Description()));
            return;
        }
        if (read.status != IoStatus::kDone) return;
        m_lines.Feed(std::string_view(buffer, read.nBytes),
                     [&](const std::string& line) { onLine(line); });
    }
}

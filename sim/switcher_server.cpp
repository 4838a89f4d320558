#include "sim/switcher_server.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

CSwitcherServer::CSwitcherServer(const CSwitcherOptions& options, const CFaultOptions& faults)
    : m_faults(faults), m_switchers{CVirtualSwitcher(options)} {
    m_wakeFd = ::eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC);
}

CSwitcherServer::~CSwitcherServer() {
    Stop();
    if (m_wakeFd >= 0) ::close(m_wakeFd);
}

bool CSwitcherServer::Open(const std::string& devicePath) {
    if (IsRunning()) return false;
    bool opened = devicePath.empty() ? m_port.OpenPseudoTerminal() : m_port.OpenDevice(devicePath);
    m_error = m_port.Error();
    return opened;
}

bool CSwitcherServer::Start() {
    if (IsRunning()) return true;
    if (m_wakeFd < 0) {
        m_error = "cannot create the wake-up event";
        return false;
    }
    if (!m_port.IsOpen() && !Open()) return false;
    std::uint64_t drained;
    while (::read(m_wakeFd, &drained, sizeof drained) > 0) {
    }
    m_assembler.Reset();
    m_thread = std::thread([this] { Serve(); });
    return true;
}

void CSwitcherServer::Stop() {
    if (!m_thread.joinable()) return;
    std::uint64_t one = 1;
    while (::write(m_wakeFd, &one, sizeof one) < 0 && errno == EINTR) {
    }
    m_thread.join();
}

void CSwitcherServer::AddSwitcher(const CSwitcherOptions& options) {
    std::lock_guard lock(m_mutex);
    m_switchers.emplace_back(options);
}

int CSwitcherServer::Count() const {
    std::lock_guard lock(m_mutex);
    return static_cast<int>(m_switchers.size());
}

void CSwitcherServer::Reconfigure(int nModel, bool bRs485, bool bAnyAddress) {
    std::lock_guard lock(m_mutex);
    for (auto& sw : m_switchers) {
        sw.Reconfigure(nModel >= 0 ? nModel : sw.State().m_tables.m_nModel, bRs485, bAnyAddress);
    }
}

CSwitcherState CSwitcherServer::State(int index) const {
    std::lock_guard lock(m_mutex);
    return m_switchers.at(static_cast<size_t>(index)).State();
}

void CSwitcherServer::SetState(const CSwitcherState& state, int index) {
    std::lock_guard lock(m_mutex);
    m_switchers.at(static_cast<size_t>(index)).SetState(state);
}

bool CSwitcherServer::LoadState(const std::string& path, int index) {
    std::lock_guard lock(m_mutex);
    return m_switchers.at(static_cast<size_t>(index)).LoadState(path);
}

bool CSwitcherServer::SaveState(const std::string& path, int index) const {
    std::lock_guard lock(m_mutex);
    return m_switchers.at(static_cast<size_t>(index)).SaveState(path);
}

void CSwitcherServer::Serve() {
    CReplySchedule schedule(m_faults.nDelayMs, m_faults.bSplitBytes, m_faults.nBaud);
    bool bBlocked = false;  // the line took no more bytes; wait until it does
    for (;;) {
        const short portEvents = static_cast<short>(POLLIN | (bBlocked ? POLLOUT : 0));
        pollfd fds[2] = {{m_port.Fd(), portEvents, 0}, {m_wakeFd, POLLIN, 0}};
        int timeout = bBlocked ? -1 : schedule.MsUntilDue(CReplySchedule::Clock::now());
        if (::poll(fds, 2, timeout) < 0 && errno != EINTR) return;
        if (fds[1].revents & POLLIN) return;
        if ((fds[0].revents & (POLLIN | POLLERR | POLLHUP)) && !ReadPort(schedule)) return;
        bBlocked = false;
        if (!WriteDue(schedule, bBlocked)) return;
    }
}

bool CSwitcherServer::ReadPort(CReplySchedule& schedule) {
    char buf[512];
    for (;;) {
        ssize_t n = ::read(m_port.Fd(), buf, sizeof buf);
        if (n > 0) {
            m_assembler.Feed(std::string_view(buf, static_cast<size_t>(n)),
                             [&](std::string line) { HandleLine(line, schedule); });
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        // Drained, or the line is gone (a device that hung up).
        return n < 0 && errno == EAGAIN;
    }
}

void CSwitcherServer::HandleLine(const std::string& line, CReplySchedule& schedule) {
    ++m_nReceived;
    std::lock_guard lock(m_mutex);
    // The one addressed answers; on a shared line the others keep quiet.
    CVirtualSwitcher* addressed = nullptr;
    for (auto& sw : m_switchers) {
        if (sw.IsAnswered(line)) {
            addressed = &sw;
            break;
        }
    }
    if (!addressed || m_faults.bSilent) return;
    ++m_nCommandLines;
    std::string reply;
    if (m_nCommandLines == m_faults.nErrorAtLine) {
        reply = addressed->Framed(m_faults.errorReply, line);
    } else if (m_nCommandLines == m_faults.nDropAtLine) {
        reply = addressed->Framed("GO", line);  // acknowledged, and lost
    } else {
        reply = *addressed->Answer(line);
    }
    schedule.Add(reply, CReplySchedule::Clock::now(), line.size());
}

bool CSwitcherServer::WriteDue(CReplySchedule& schedule, bool& bBlocked) {
    for (;;) {
        std::string_view bytes = schedule.DueBytes(CReplySchedule::Clock::now());
        if (bytes.empty()) return true;
        ssize_t n = ::write(m_port.Fd(), bytes.data(), bytes.size());
        if (n > 0) {
            if (schedule.Consume(static_cast<size_t>(n))) ++m_nAnswered;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        bBlocked = n < 0 && errno == EAGAIN;
        return bBlocked;
    }
}

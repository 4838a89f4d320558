#include "server/switcher_gate.h"

#include <algorithm>

#include "link/link_context.h"
#include "link/link_flags.h"
#include "link/transmitter.h"
#include "model/settings_model.h"
#include "protocol/rs485_frame.h"

namespace {

// While the switcher is busy with someone else's line, look again this often.
constexpr int kBusyPollMs = 20;

}  // namespace

bool LinkUp() {
    return Link().State().Status() == LinkStatus::kConnected;
}

bool SwitcherFree() {
    return LinkUp() && !Link().Owed().Awaited() && g_nSendStep == 0 && !Link().Taker();
}

void CSwitcherGate::Queue(int nAddress, GateLine line, GateDone done) {
    m_jobs.push_back({nAddress, std::move(line), std::move(done)});
    Service();
}

void CSwitcherGate::Service() {
    if (m_inFlight && !Settle()) return;
    if (!LinkUp()) {
        // Taken out first: a done may queue another job.
        std::deque<CJob> jobs = std::move(m_jobs);
        m_jobs.clear();
        for (CJob& job : jobs) job.done({});
        return;
    }
    while (!m_inFlight && !m_jobs.empty() && SwitcherFree()) SendNext();
}

bool CSwitcherGate::Settle() {
    COwedReplies& owed = Link().Owed();
    const ReplyFate fate = owed.Fate(m_nId);
    if (fate == ReplyFate::kOwed) return false;
    CGateAnswer answer;
    if (fate == ReplyFate::kAnswered) {
        answer.bAnswered = true;
        const std::string line = owed.Answer(m_nId);
        answer.strLine = m_inFlight->nAddress >= 0 ? DropAddress(line) : line;
    }
    CJob job = std::move(*m_inFlight);
    m_inFlight.reset();
    job.done(answer);
    return true;
}

void CSwitcherGate::SendNext() {
    CJob job = std::move(m_jobs.front());
    m_jobs.pop_front();
    const std::string line = job.line();
    if (line.empty()) {
        job.done({});
        return;
    }
    m_nId = SendQuietly(FrameLine(job.nAddress, line), job.nAddress);
    m_sentAt = std::chrono::steady_clock::now();
    m_inFlight = std::move(job);
}

int CSwitcherGate::TimeoutMs() const {
    if (m_inFlight) {
        using namespace std::chrono;
        const auto due = m_sentAt + milliseconds(kReplyTimeMs + 1);
        const auto left = duration_cast<milliseconds>(due - steady_clock::now()).count();
        return static_cast<int>(std::max<long long>(left, 0));
    }
    return m_jobs.empty() ? -1 : kBusyPollMs;
}

#include "link/owed_replies.h"

#include <algorithm>

#include "protocol/fields.h"
#include "protocol/replies.h"
#include "protocol/rs485_frame.h"

namespace {

constexpr size_t kSettledKept = 256;

}  // namespace

bool CouldAnswer(const COwedReply& owed, std::string_view line, bool bRs485) {
    if (bRs485) {
        const auto split = SplitAddress(line);
        if (!split || (owed.nAddress >= 0 && split->nAddress != owed.nAddress)) return false;
        line = split->rest;
    }
    if (ErrorReplyOf(line)) return true;
    if (!owed.read) return line == kGoReply;
    const auto kind = DataLineOf(line);
    if (kind != owed.read->item) return false;
    if (!IsNumberedDataLine(*kind)) return true;
    return PairAt(LineBody(line), DataLineTag(*kind).size()) == owed.read->nNumber;
}

unsigned long COwedReplies::Owe(COwedReply reply, Clock::time_point now) {
    Expire(now);
    reply.nId = ++m_nLastId;
    reply.sent = now;
    m_owed.push_back(std::move(reply));
    return m_nLastId;
}

void COwedReplies::Settle(const COwedReply& owed, ReplyFate fate, std::string_view answer) {
    m_settled.push_back({owed.nId, fate, std::string(answer)});
    while (m_settled.size() > kSettledKept) m_settled.pop_front();
}

void COwedReplies::Expire(Clock::time_point now) {
    while (!m_owed.empty() && now - m_owed.front().sent >= m_replyTime) {
        Settle(m_owed.front(), ReplyFate::kUnanswered);
        m_owed.pop_front();
    }
}

// A line that went out coming back unchanged (a loop-back plug, an RS-485
// adapter that hears itself) answers nothing; its line stays owed.
std::optional<CAttribution> COwedReplies::Echo(std::string_view line) {
    auto it = std::find_if(m_owed.begin(), m_owed.end(), [line](const COwedReply& owed) {
        return !owed.bEchoed && owed.strSent == line;
    });
    if (it == m_owed.end()) return std::nullopt;
    it->bEchoed = true;
    return CAttribution{*it, true};
}

// A data line names what it answers: the read owed first that asked for it.
// The lines before got no answer (the switcher answers in order), so one lost
// reply does not shift the answers after it.
void COwedReplies::SkipToRead(std::string_view line, bool bRs485) {
    if (!DataLineOf(bRs485 ? DropAddress(line) : line)) return;
    auto it = std::find_if(m_owed.begin(), m_owed.end(), [&](const COwedReply& owed) {
        return owed.read && CouldAnswer(owed, line, bRs485);
    });
    if (it == m_owed.end()) return;
    for (auto skipped = m_owed.begin(); skipped != it; ++skipped) {
        Settle(*skipped, ReplyFate::kUnanswered);
    }
    m_owed.erase(m_owed.begin(), it);
}

CAttribution COwedReplies::Attribute(std::string_view line, bool bRs485, Clock::time_point now) {
    Expire(now);
    if (auto echo = Echo(line)) return *echo;
    SkipToRead(line, bRs485);
    // Questions given up whose answer this cannot be got none: they were
    // not there to answer (an empty slave address), or their answer was lost.
    while (!m_owed.empty() && m_owed.front().bGivenUp &&
           !CouldAnswer(m_owed.front(), line, bRs485)) {
        Settle(m_owed.front(), ReplyFate::kUnanswered);
        m_owed.pop_front();
    }
    if (m_owed.empty()) return {};
    CAttribution attribution{m_owed.front(), false};
    Settle(m_owed.front(), ReplyFate::kAnswered, line);
    m_owed.pop_front();
    return attribution;
}

void COwedReplies::GiveUp(unsigned long id) {
    for (auto& owed : m_owed) {
        if (owed.nId == id) owed.bGivenUp = true;
    }
}

void COwedReplies::GiveUpAll() {
    for (auto& owed : m_owed) owed.bGivenUp = true;
}

void COwedReplies::Forget() {
    for (const auto& owed : m_owed) Settle(owed, ReplyFate::kUnanswered);
    m_owed.clear();
}

ReplyFate COwedReplies::Fate(unsigned long id, Clock::time_point now) {
    Expire(now);
    for (const auto& owed : m_owed) {
        if (owed.nId == id) return ReplyFate::kOwed;
    }
    for (const auto& settled : m_settled) {
        if (settled.nId == id) return settled.fate;
    }
    return ReplyFate::kUnanswered;
}

std::string COwedReplies::Answer(unsigned long id) const {
    for (const auto& settled : m_settled) {
        if (settled.nId == id) return settled.strAnswer;
    }
    return {};
}

bool COwedReplies::Awaited(Clock::time_point now) {
    Expire(now);
    return std::any_of(m_owed.begin(), m_owed.end(),
                       [](const COwedReply& owed) { return !owed.bGivenUp; });
}

void COwedReplies::Reset() {
    m_owed.clear();
    m_settled.clear();
    m_nLastId = 0;
}

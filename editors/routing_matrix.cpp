#include "editors/routing_matrix.h"

#include <algorithm>

#include "editors/pattern_output_send.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/transmitter.h"
#include "model/cp932_text.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/replies.h"
#include "protocol/rs485_frame.h"

namespace {

constexpr int kNotStaged = -1;

bool IsOutput(int nOutput) {
    return nOutput >= 0 && nOutput < kOutputs;
}

}  // namespace

CRoutingMatrix::CRoutingMatrix() {
    m_staged.fill(kNotStaged);
    m_seen = Seen();
}

bool CRoutingMatrix::SetRow(int nRow) {
    if (nRow < 0 || nRow >= kPatternRows || m_take) return false;
    if (nRow == m_nRow) return true;
    m_nRow = nRow;
    Drop();
    m_outcome = TakeOutcome::kNone;  // it told of another row
    m_seen = Seen();
    return true;
}

int CRoutingMatrix::Inputs() const {
    return InputChannelCount();
}

int CRoutingMatrix::SourceOf(int nOutput) const {
    return IsOutput(nOutput) ? g_nPattern[m_nRow][nOutput] : kNotStaged;
}

std::optional<int> CRoutingMatrix::StagedFor(int nOutput) const {
    if (!IsOutput(nOutput) || m_staged[nOutput] == kNotStaged) return std::nullopt;
    return m_staged[nOutput];
}

int CRoutingMatrix::StagedCount() const {
    return static_cast<int>(std::ranges::count_if(m_staged, [](int i) { return i != kNotStaged; }));
}

CrosspointState CRoutingMatrix::State(int nInput, int nOutput) const {
    if (!IsOutput(nOutput)) return CrosspointState::kFree;
    const std::optional<int> staged = StagedFor(nOutput);
    if (staged == nInput) return CrosspointState::kStaged;
    if (SourceOf(nOutput) != nInput || nInput >= Inputs()) return CrosspointState::kFree;
    return staged ? CrosspointState::kLeaving : CrosspointState::kInUse;
}

std::string CRoutingMatrix::PatternOf(int nOutput) const {
    const int code = SourceOf(nOutput);
    return code >= Inputs() ? SourceCodeText(code, Inputs()) : std::string();
}

std::string CRoutingMatrix::InputLabel(int nInput) const {
    std::string label = SourceCodeText(nInput, Inputs());
    if (nInput >= 0 && nInput < kMaxInputs && !g_strTitle[nInput].empty()) {
        label += " " + ShiftJisToUtf8(g_strTitle[nInput]);
    }
    return label;
}

bool CRoutingMatrix::Toggle(int nInput, int nOutput) {
    if (m_take || !IsOutput(nOutput) || nInput < 0 || nInput >= Inputs()) return false;
    int& staged = m_staged[nOutput];
    if (staged == nInput || SourceOf(nOutput) == nInput) {
        if (staged == kNotStaged) return false;  // in use, nothing staged
        staged = kNotStaged;
    } else {
        staged = nInput;
    }
    return true;
}

void CRoutingMatrix::Drop() {
    if (!m_take) m_staged.fill(kNotStaged);
}

OutputRow CRoutingMatrix::TakeRow() const {
    OutputRow row = g_nPattern[m_nRow];
    for (int out = 0; out < kOutputs; ++out) {
        if (m_staged[out] != kNotStaged) row[out] = m_staged[out];
    }
    return row;
}

std::string CRoutingMatrix::TakeLine() const {
    return PatternRowLine(m_nRow, TakeRow());
}

// The reply interpreter answers the line as it answers the editor's: "Success"
// for GO, the error reply's box otherwise; the take only watches which it was.
TakeResult CRoutingMatrix::Take() {
    if (g_nSendStep != 0) return TakeResult::kCycleRunning;
    if (m_take) return TakeResult::kAwaiting;
    if (StagedCount() == 0) return TakeResult::kNothingStaged;
    CTake take;
    take.sent = TakeRow();
    take.nAddress = g_bRs485 ? g_nSlaveAddress : -1;
    // At most 104 characters framed: within what the transmitter sends.
    SendCommand(PatternRowLine(m_nRow, take.sent));
    take.nId = Link().Owed().LastId();
    m_take = take;
    m_outcome = TakeOutcome::kAwaiting;
    return TakeResult::kSent;
}

bool CRoutingMatrix::SettleTake() {
    if (!m_take) return false;
    COwedReplies& owed = Link().Owed();
    const ReplyFate fate = owed.Fate(m_take->nId);
    if (fate == ReplyFate::kOwed) return false;
    const CTake take = *m_take;
    m_take.reset();
    if (fate == ReplyFate::kUnanswered) {
        m_outcome = TakeOutcome::kUnanswered;
        return true;
    }
    const std::string answer = owed.Answer(take.nId);
    const std::string_view work = take.nAddress >= 0 ? DropAddress(answer) : answer;
    if (ReplyKindOf(work) != ReplyKind::kGo) {
        m_outcome = TakeOutcome::kRefused;
        return true;
    }
    g_nPattern[m_nRow] = take.sent;
    // The memories are kept in the settings file; the direct row is not.
    if (m_nRow != 0) g_bModified = 1;
    m_staged.fill(kNotStaged);
    m_outcome = TakeOutcome::kDone;
    return true;
}

// A change staged that the row now holds anyway (a client routed it, a file
// brought it), or an input the model no longer has, is no change any more.
bool CRoutingMatrix::PruneStaged() {
    if (m_take) return false;
    bool pruned = false;
    for (int out = 0; out < kOutputs; ++out) {
        int& staged = m_staged[out];
        if (staged == kNotStaged) continue;
        if (staged == SourceOf(out) || staged >= Inputs()) {
            staged = kNotStaged;
            pruned = true;
        }
    }
    return pruned;
}

CRoutingMatrix::CSeen CRoutingMatrix::Seen() const {
    CSeen seen;
    seen.nInputs = Inputs();
    seen.row = g_nPattern[m_nRow];
    seen.titles = g_strTitle;
    return seen;
}

bool CRoutingMatrix::Follow() {
    bool changed = SettleTake();
    CSeen now = Seen();
    if (!(now == m_seen)) {
        m_seen = std::move(now);
        changed = true;
    }
    if (PruneStaged()) changed = true;
    return changed;
}

#include "sim/virtual_switcher.h"

#include "protocol/fields.h"
#include "protocol/line_assembler.h"
#include "protocol/read_lines.h"
#include "protocol/replies.h"
#include "protocol/rs485_frame.h"
#include "sim/read_commands.h"
#include "sim/set_commands.h"
#include "sim/switcher_state_file.h"

namespace {

constexpr int kMaxAddress = 31;

}  // namespace

CVirtualSwitcher::CVirtualSwitcher(const CSwitcherOptions& options)
    : m_bRs485(options.bRs485),
      m_bAnyAddress(options.bAnyAddress),
      m_state(DefaultSwitcherState(options.nModel, options.nAddress)) {}

void CVirtualSwitcher::Reconfigure(int nModel, bool bRs485, bool bAnyAddress) {
    m_state.m_tables.m_nModel = nModel ? 1 : 0;
    m_bRs485 = bRs485;
    m_bAnyAddress = bAnyAddress;
}

bool CVirtualSwitcher::IsAnswered(std::string_view line) const {
    // Only lines ending in CR LF are command lines; longer ones never fit the receive buffer.
    if (line.size() > CLineAssembler::kMaxLine || !line.ends_with("\r\n")) return false;
    if (!m_bRs485) return true;
    const auto split = SplitAddress(line);
    if (!split || split->rest.size() < 2) return false;
    const int called = split->nAddress;
    return m_bAnyAddress ? (called >= 0 && called <= kMaxAddress) : called == Address();
}

std::string CVirtualSwitcher::Framed(std::string_view text, std::string_view line) const {
    std::string reply;
    if (m_bRs485) {
        const auto split = SplitAddress(line);
        reply = FrameLine(split ? split->nAddress : Address(), "");
    }
    reply.append(text);
    reply.append("\r\n");
    return reply;
}

std::optional<std::string> CVirtualSwitcher::Answer(std::string_view line) {
    if (!IsAnswered(line)) return std::nullopt;
    // The address called, taken before the command runs: SA answers under the
    // address it was sent to.
    std::string reply = m_bRs485 ? FrameLine(SplitAddress(line)->nAddress, "") : std::string();
    return reply + ReplyTo(LineBody(m_bRs485 ? DropAddress(line) : line));
}

std::string CVirtualSwitcher::ReplyTo(std::string_view body) {
    if (auto request = ParseReadCommand(body, m_state.Inputs())) {
        return AnswerRead(*request, m_state);
    }
    const bool bDone = ApplySetCommand(body, m_state);
    return std::string(bDone ? kGoReply : ErrorReplyLine(ErrorReply::kCommandError));
}

bool CVirtualSwitcher::LoadState(const std::string& path) {
    return LoadSwitcherState(path, m_state);
}

bool CVirtualSwitcher::SaveState(const std::string& path) const {
    return SaveSwitcherState(path, m_state);
}

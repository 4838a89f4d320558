#include "sim/virtual_switcher.h"

#include "editors/two_digits.h"
#include "link/field_codes.h"
#include "link/line_assembler.h"
#include "sim/command_table.h"
#include "sim/switcher_state_file.h"

namespace {

constexpr std::string_view kGo = "GO\r\n";
constexpr std::string_view kCommandError = "E3\r\n";
constexpr size_t kAddressLength = 2;

}  // namespace

CVirtualSwitcher::CVirtualSwitcher(const CSwitcherOptions& options)
    : m_bRs485(options.bRs485), m_state(DefaultSwitcherState(options.nModel, options.nAddress)) {}

bool CVirtualSwitcher::IsAnswered(std::string_view line) const {
    // Only lines ending in CR LF are command lines; longer ones never fit the receive buffer.
    if (line.size() > CLineAssembler::kMaxLine || !line.ends_with("\r\n")) return false;
    if (!m_bRs485) return true;
    return line.size() >= kAddressLength + 2 && TwoDigitValue(line[0], line[1]) == Address();
}

std::string CVirtualSwitcher::Framed(std::string_view text) const {
    std::string reply = m_bRs485 ? TwoDigits(Address()) : std::string();
    reply.append(text);
    reply.append("\r\n");
    return reply;
}

std::optional<std::string> CVirtualSwitcher::Answer(std::string_view line) {
    if (!IsAnswered(line)) return std::nullopt;
    // Taken before the command runs: SA answers under the address it was sent to.
    std::string reply = m_bRs485 ? TwoDigits(Address()) : std::string();
    std::string_view body = LineBody(line);
    if (m_bRs485) body.remove_prefix(kAddressLength);
    return reply + ReplyTo(body);
}

std::string CVirtualSwitcher::ReplyTo(std::string_view body) {
    const CCommandEntry* entry = FindCommand(body);
    if (!entry) return std::string(kCommandError);
    if (entry->set) return std::string(entry->set(body, m_state) ? kGo : kCommandError);
    auto data = entry->read(body, m_state);
    return data ? *data : std::string(kCommandError);
}

bool CVirtualSwitcher::LoadState(const std::string& path) {
    return LoadSwitcherState(path, m_state);
}

bool CVirtualSwitcher::SaveState(const std::string& path) const {
    return SaveSwitcherState(path, m_state);
}

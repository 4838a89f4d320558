#include "cli/fleet_progress.h"

#include <algorithm>

#include "cli/utf8_text.h"

namespace {

// A terminal is redrawn at most this often; a step is ~30 ms at 9600 baud.
constexpr auto kRedrawInterval = std::chrono::milliseconds(100);

std::string PadToWidth(const std::string& text, size_t width) {
    const auto shown = static_cast<size_t>(DisplayWidth(text));
    return text + std::string(shown < width ? width - shown : 0, ' ');
}

std::string Steps(const CFleetState& state) {
    if (state.nSteps <= 0) return "";
    return std::to_string(state.nStep) + "/" + std::to_string(state.nSteps);
}

}  // namespace

CFleetProgressView::CFleetProgressView(std::vector<std::string> names, bool bTerminal,
                                       std::FILE* out)
    : m_names(std::move(names)),
      m_states(m_names.size()),
      m_lastPlain(m_names.size()),
      m_bTerminal(bTerminal),
      m_out(out) {
    for (const auto& name : m_names)
        m_nNameWidth = std::max(m_nNameWidth, static_cast<size_t>(DisplayWidth(name)));
}

std::string CFleetProgressView::Line(size_t index) const {
    const CFleetState& state = m_states[index];
    std::string steps = Steps(state);
    steps.insert(0, steps.size() < 9 ? 9 - steps.size() : 0, ' ');
    return PadToWidth(m_names[index], m_nNameWidth) + "  " + steps + "  " + state.strState;
}

void CFleetProgressView::Changed(size_t index, const CFleetState& state) {
    m_states[index] = state;
    if (m_bTerminal) {
        Redraw(state.bDone);
        return;
    }
    // Plain lines only when the state word changes, not at every step.
    if (state.strState == m_lastPlain[index]) return;
    m_lastPlain[index] = state.strState;
    std::fprintf(m_out, "%s: %s%s\n", m_names[index].c_str(), state.strState.c_str(),
                 state.nSteps > 0 && !state.bDone ? (" " + Steps(state)).c_str() : "");
    std::fflush(m_out);
}

void CFleetProgressView::Redraw(bool force) {
    const auto now = std::chrono::steady_clock::now();
    if (m_bDrawn && !force && now - m_lastDraw < kRedrawInterval) return;
    m_lastDraw = now;
    std::string text;
    if (m_bDrawn) text += "\033[" + std::to_string(m_names.size()) + "A";
    for (size_t i = 0; i < m_names.size(); ++i) text += "\r\033[K" + Line(i) + "\n";
    std::fputs(text.c_str(), m_out);
    std::fflush(m_out);
    m_bDrawn = true;
}

void CFleetProgressView::Finish() {
    if (m_bTerminal) Redraw(true);
}

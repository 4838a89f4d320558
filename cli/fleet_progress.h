// The fleet's progress while it runs: on a terminal a line per switcher,
// redrawn in place (name, step / steps, state); otherwise a plain line each
// time a switcher's state changes.
#pragma once

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "cli/fleet_runner.h"

class CFleetProgressView {
public:
    CFleetProgressView(std::vector<std::string> names, bool bTerminal, std::FILE* out);

    // The switcher's state has changed.
    void Changed(size_t index, const CFleetState& state);
    // The run is over: the last picture stays on a terminal.
    void Finish();

private:
    std::string Line(size_t index) const;
    void Redraw(bool force);

    std::vector<std::string> m_names;
    std::vector<CFleetState> m_states;
    std::vector<std::string> m_lastPlain;  // the state last printed, per switcher
    bool m_bTerminal;
    std::FILE* m_out;
    bool m_bDrawn = false;
    size_t m_nNameWidth = 0;
    std::chrono::steady_clock::time_point m_lastDraw;
};

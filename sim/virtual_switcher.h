// A switcher on a serial line, without the hardware: it takes the program's
// command lines and answers them as the device does. It touches none of the
// program's globals, so it can run on a thread of its own beside the link.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "sim/switcher_state.h"

struct CSwitcherOptions {
    int nModel = 0;  // 0 = 32 inputs, 1 = 64 inputs
    bool bRs485 = false;
    int nAddress = 0;  // own slave address 00..31
    // On RS-485, answer every address 00..31 under the address called, as if
    // whichever switcher the program picks were this one.
    bool bAnyAddress = false;
};

class CVirtualSwitcher {
public:
    explicit CVirtualSwitcher(const CSwitcherOptions& options = {});

    // The reply to one received line (its LF included): "GO", an error reply or
    // a data line, with CR LF and, on RS-485, the own address in front. Nothing
    // for a line that is not a command line for this switcher.
    std::optional<std::string> Answer(std::string_view line);

    // Whether Answer would reply to line.
    bool IsAnswered(std::string_view line) const;

    // A reply such as "E3" as this switcher sends it (address, text, CR LF);
    // given the line it answers, under the address that line called.
    std::string Framed(std::string_view text, std::string_view line = {}) const;

    // The same switcher on another interface or as the other model: the
    // tables, the clock and its own address stay.
    void Reconfigure(int nModel, bool bRs485, bool bAnyAddress);

    const CSwitcherState& State() const { return m_state; }
    void SetState(const CSwitcherState& state) { m_state = state; }
    int Address() const { return m_state.m_nAddress; }
    bool IsRs485() const { return m_bRs485; }

    bool LoadState(const std::string& path);
    bool SaveState(const std::string& path) const;

private:
    std::string ReplyTo(std::string_view body);

    bool m_bRs485;
    bool m_bAnyAddress;
    CSwitcherState m_state;
};

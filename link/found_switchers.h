// The switchers the last search of the bus found, and where it looked: which
// port and interface. What they said they are holds for the port and
// interface they answered on only.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "link/bus_scan.h"

class CFoundSwitchers {
public:
    // A search's answers on port (a device or a server's address) and interface.
    void Found(std::string port, bool bRs485, std::vector<CScanAnswer> answers);
    void Clear() { *this = {}; }
    // The model the switcher at nAddress (-1 on RS-232C) said it is, when the
    // last search found it on the port and interface given and could tell.
    std::optional<int> ModelAt(int nAddress, const std::string& port, bool bRs485) const;
    // A switcher was given another address (SA): it answers there now.
    void Readdress(int nFrom, int nTo);
    const std::vector<CScanAnswer>& Answers() const { return m_answers; }

private:
    std::string m_strPort;
    bool m_bRs485 = false;
    std::vector<CScanAnswer> m_answers;
};

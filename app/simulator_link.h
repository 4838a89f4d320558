// The built-in virtual switcher the program can run on instead of a serial
// port: it serves a pseudo-terminal on a thread of its own, and the link opens
// that terminal as its port.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "sim/virtual_switcher.h"

class CSwitcherServer;

class CSimulatorLink {
public:
    // nRs485Address: the switcher's own slave address from the command line,
    // -1 for none (it starts on RS-232C). bus: several switchers on one RS-485
    // line instead, each with its own address and model.
    CSimulatorLink(int nRs485Address, std::vector<CSwitcherOptions> bus = {});
    ~CSimulatorLink();

    // Starts the switcher with the model (0/1) and points the link at it: the
    // port override, and the interface the switcher speaks.
    bool Start(int nModel);
    // After the model reset: the slave address the switcher answers to.
    void AdoptSlaveAddress() const;
    const std::string& Error() const { return m_error; }

    // The interface (0/1) and model (0/1) the user chose for the program; the
    // switcher follows so that it keeps answering. On RS-485 it answers the
    // address it was given, or any address when it was given none: the
    // editors each pick the address they send to. The switchers of a bus keep
    // their own models.
    void Follow(int bRs485, int nModel);

private:
    int m_nRs485Address;
    std::vector<CSwitcherOptions> m_bus;
    std::unique_ptr<CSwitcherServer> m_pServer;
    std::string m_error;
};

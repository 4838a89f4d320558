// The built-in virtual switcher the program can run on instead of a serial
// port: it serves a pseudo-terminal on a thread of its own, and the link opens
// that terminal as its port.
#pragma once

#include <memory>
#include <string>

class CSwitcherServer;

class CSimulatorLink {
public:
    CSimulatorLink(int nModel, int nRs485Address);
    ~CSimulatorLink();

    // Starts the switcher with the model (0/1) and points the link at it: the
    // port override, and the interface the switcher speaks.
    bool Start(int nModel);
    // After the model reset: the slave address the switcher answers to.
    void AdoptSlaveAddress() const;
    const std::string& Error() const { return m_error; }

    int ModelOption() const { return m_nModel; }

private:
    int m_nModel;
    int m_nRs485Address;
    std::unique_ptr<CSwitcherServer> m_pServer;
    std::string m_error;
};

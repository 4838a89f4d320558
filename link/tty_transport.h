// A local serial device (a terminal) as the link's transport: opened
// exclusively, raw bytes, the line settings through termios.
#pragma once

#include <termios.h>

#include <string>

#include "link/transport.h"

class CTtyTransport : public ITransport {
public:
    // name: the port's name in the program ("COM1"), empty when there is none.
    CTtyTransport(std::string name, std::string path);
    ~CTtyTransport() override;
    CTtyTransport(const CTtyTransport&) = delete;
    CTtyTransport& operator=(const CTtyTransport&) = delete;

    std::string Description() const override;
    COpenResult Open() override;
    void Close() override;
    bool IsOpen() const override { return m_fd >= 0; }
    int PollFd() const override { return m_fd; }

    bool SetNonBlocking() override;
    bool SetReadTimeouts() override;
    bool ApplyLineSettings(const CLineSettings& line) override;
    std::optional<CLineSettings> ReadLineSettings() const override;

    bool Discard(Queue which) override;
    size_t OutputQueued() const override;

    CIoResult Read(std::span<char> buffer) override;
    CIoResult Write(std::string_view bytes) override;

    std::string DevicePath() const override { return m_path; }
    std::optional<int> ModemLines() const override;

private:
    bool HungUp() const;

    std::string m_name;
    std::string m_path;
    int m_fd = -1;
    bool m_bTerminal = false;
};

// The line settings written into a terminal's attributes: raw bytes, no
// output processing, reads that return at once (exposed for tests).
void ApplyLineSettings(termios& tio, const CLineSettings& line = kSwitcherLine);

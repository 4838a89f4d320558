// The Telnet layer of a connection to a serial device server that speaks the
// COM-PORT-OPTION: BINARY both ways and COM-PORT-OPTION offered, the line set
// (baud rate, data size, parity, stop size, flow control) without waiting for
// answers that some servers never send, 0xFF in data escaped, the server's
// commands taken out of what it sends. Option negotiation is libtelnet's.
//
// No I/O of its own: what must go to the server collects in Outgoing(), and
// the transport writes it. Not thread-safe; its transport locks around it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "link/transport.h"

struct telnet_t;
union telnet_event_t;

class CTelnetCodec {
public:
    CTelnetCodec();
    ~CTelnetCodec();
    CTelnetCodec(const CTelnetCodec&) = delete;
    CTelnetCodec& operator=(const CTelnetCodec&) = delete;

    // The opening offers and the line settings.
    void Open(const CLineSettings& line);
    void SetLine(const CLineSettings& line);
    // Bytes from the server: its data is appended to `data`. False once the
    // stream can no longer be read as data (libtelnet gave up on it, a
    // subnegotiation broke off or overflowed, the server turned on
    // compression); nothing more is appended or answered then, and the
    // transport drops the connection.
    bool Receive(std::string_view bytes, std::string& data);
    // Data for the server, each 0xFF doubled.
    void Send(std::string_view data);
    // Asks the server to drop what it holds in that direction.
    void Purge(Queue which);

    // Bytes to write to the server, oldest first; the transport erases what it wrote.
    std::string& Outgoing() { return m_out; }
    bool Broken() const { return m_bBroken; }

private:
    static void OnEvent(telnet_t* telnet, telnet_event_t* event, void* self);
    void ComPortCommand(unsigned char command, std::string_view value);

    telnet_t* m_pTelnet;
    std::string m_out;
    std::string* m_pData = nullptr;  // where Receive puts data, while it runs
    bool m_bBroken = false;
};

// The COM-PORT-OPTION (RFC 2217) and the commands the client sends.
namespace comport {
inline constexpr unsigned char kOption = 44;
inline constexpr unsigned char kSetBaudRate = 1;
inline constexpr unsigned char kSetDataSize = 2;
inline constexpr unsigned char kSetParity = 3;
inline constexpr unsigned char kSetStopSize = 4;
inline constexpr unsigned char kSetControl = 5;
inline constexpr unsigned char kPurgeData = 12;
}  // namespace comport

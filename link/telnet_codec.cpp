#include "link/telnet_codec.h"

#include <libtelnet.h>

#include <cstring>

namespace {

// What this client agrees to when the server asks: BINARY and SUPPRESS-GO-AHEAD
// both ways, COM-PORT-OPTION from our side only; everything else is refused
// once, by libtelnet's option state machine, so no reply ever loops.
const telnet_telopt_t kOptions[] = {
    {TELNET_TELOPT_BINARY, TELNET_WILL, TELNET_DO},
    {TELNET_TELOPT_SGA, TELNET_WILL, TELNET_DO},
    {comport::kOption, TELNET_WILL, TELNET_DONT},
    {-1, 0, 0},
};

unsigned char ParityCode(Parity parity) {
    switch (parity) {
        case Parity::kNone:
            return 1;
        case Parity::kOdd:
            return 2;
        case Parity::kEven:
            break;
    }
    return 3;
}

unsigned char ControlCode(const CLineSettings& line) {
    if (line.bRtsCts) return 3;   // hardware flow control
    if (line.bXonXoff) return 2;  // XON/XOFF
    return 1;
}

}  // namespace

CTelnetCodec::CTelnetCodec() : m_pTelnet(telnet_init(kOptions, &CTelnetCodec::OnEvent, 0, this)) {}

CTelnetCodec::~CTelnetCodec() {
    if (m_pTelnet) telnet_free(m_pTelnet);
}

void CTelnetCodec::OnEvent(telnet_t*, telnet_event_t* event, void* self) {
    auto& codec = *static_cast<CTelnetCodec*>(self);
    switch (event->type) {
        case TELNET_EV_DATA:
            if (codec.m_pData && !codec.m_bBroken) {
                codec.m_pData->append(event->data.buffer, event->data.size);
            }
            break;
        case TELNET_EV_SEND:
            if (!codec.m_bBroken) codec.m_out.append(event->data.buffer, event->data.size);
            break;
        case TELNET_EV_COMPRESS:  // the rest would arrive deflated
        case TELNET_EV_ERROR:
            codec.m_bBroken = true;
            break;
        case TELNET_EV_WARNING:
            // A subnegotiation cut short by a stray command, or too long to
            // keep: what follows can no longer be told apart from data. (The
            // library leaves errcode unset on warnings; the message says which.)
            if (event->error.msg && (std::strstr(event->error.msg, "unexpected byte after IAC") ||
                                     std::strstr(event->error.msg, "limit"))) {
                codec.m_bBroken = true;
            }
            break;
        default:  // negotiation is answered by libtelnet; the server's notifications are not needed
            break;
    }
}

void CTelnetCodec::ComPortCommand(unsigned char command, std::string_view value) {
    std::string body(1, static_cast<char>(command));
    body += value;
    telnet_subnegotiation(m_pTelnet, comport::kOption, body.data(), body.size());
}

void CTelnetCodec::Open(const CLineSettings& line) {
    if (!m_pTelnet) return;
    telnet_negotiate(m_pTelnet, TELNET_WILL, TELNET_TELOPT_BINARY);
    telnet_negotiate(m_pTelnet, TELNET_DO, TELNET_TELOPT_BINARY);
    telnet_negotiate(m_pTelnet, TELNET_WILL, comport::kOption);
    SetLine(line);
}

void CTelnetCodec::SetLine(const CLineSettings& line) {
    if (!m_pTelnet) return;
    const auto baud = static_cast<unsigned>(line.nBaud);
    const char rate[4] = {static_cast<char>(baud >> 24), static_cast<char>(baud >> 16),
                          static_cast<char>(baud >> 8), static_cast<char>(baud)};
    ComPortCommand(comport::kSetBaudRate, std::string_view(rate, 4));
    ComPortCommand(comport::kSetDataSize, std::string(1, static_cast<char>(line.nDataBits)));
    ComPortCommand(comport::kSetParity, std::string(1, static_cast<char>(ParityCode(line.parity))));
    ComPortCommand(comport::kSetStopSize, std::string(1, static_cast<char>(line.nStopBits)));
    ComPortCommand(comport::kSetControl, std::string(1, static_cast<char>(ControlCode(line))));
}

bool CTelnetCodec::Receive(std::string_view bytes, std::string& data) {
    if (!m_pTelnet) m_bBroken = true;
    if (m_bBroken) return false;
    m_pData = &data;
    telnet_recv(m_pTelnet, bytes.data(), bytes.size());
    m_pData = nullptr;
    return !m_bBroken;
}

void CTelnetCodec::Send(std::string_view data) {
    if (m_pTelnet) telnet_send(m_pTelnet, data.data(), data.size());
}

void CTelnetCodec::Purge(Queue which) {
    // 1: the server's buffer of data from the device; 2: of data to it; 3: both.
    const char code = which == Queue::kInput ? 1 : which == Queue::kOutput ? 2 : 3;
    if (m_pTelnet) ComPortCommand(comport::kPurgeData, std::string_view(&code, 1));
}

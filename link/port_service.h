// The I/O thread's work on an open port: joins received bytes into lines for
// the owner, finishes writes, enforces the write time-out and reports a stall
// with what the modem lines say. Says why when the port has failed.
#pragma once

#include <optional>
#include <string>

#include "link/link_context.h"
#include "protocol/line_assembler.h"

class CPortService {
public:
    explicit CPortService(CLinkContext& link);

    // One round: waits for bytes, room to write, a write's time-out or a
    // wake-up, and handles what came. Why, when the port failed.
    std::optional<CLinkFailure> Serve();
    // A new connection: a line begun on the last one is dropped.
    void Restart() {
        m_assembler = CLineAssembler();
        m_bGotData = false;
    }
    // Whether anything came in since the connection began.
    bool GotData() const { return m_bGotData; }

private:
    std::optional<CLinkFailure> ReadChunk(short events);
    CLinkFailure Reason(const CIoResult& result) const;

    ITransport& m_port;
    const int m_wakeFd;
    CPortWriter& m_writer;
    CReplyQueue& m_replies;
    CLineAssembler m_assembler;
    bool m_bGotData = false;
};

// One client's TCP connection: what it sends joined into blocks, what it is
// sent queued while its socket cannot take it. Both sides are bounded: a
// client that sends without end or stops reading is to be dropped, never
// waited for.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "videohub/block_assembler.h"

// What may wait for a client that does not read: many status updates, far
// more than the opening dump of the largest switcher.
inline constexpr size_t kMaxClientBacklog = 256 * 1024;

class CClientConnection {
public:
    CClientConnection(int fd, unsigned long nId) : m_fd(fd), m_nId(nId) {}
    ~CClientConnection();
    CClientConnection(const CClientConnection&) = delete;
    CClientConnection& operator=(const CClientConnection&) = delete;

    int Fd() const { return m_fd; }
    unsigned long Id() const { return m_nId; }

    // Reads what the socket has now; complete blocks are appended. False when
    // the client has closed, failed or overrun a bound: drop it.
    bool ReadBlocks(std::vector<CVideohubBlock>& out);
    // Writes bytes, queuing what the socket does not take now. False when the
    // queue would pass its bound or the socket failed: drop it.
    bool Send(std::string_view bytes);
    // Writes what is queued. False when the socket failed.
    bool Flush();
    bool WantsWrite() const { return !m_out.empty(); }

private:
    int m_fd;
    unsigned long m_nId;
    CBlockAssembler m_assembler;
    std::string m_out;
};

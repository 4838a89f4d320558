// A client of the Videohub Ethernet protocol for tests, written from the
// protocol's public description alone, so that it checks a server as any
// other panel or control system would. Every read and write has a timeout:
// a server that stops answering fails the test instead of hanging it.
//
// The protocol in brief: text blocks, each a header line in capitals ending
// in a colon, then its lines, then a blank line. On connect the server sends
// its whole state, ending (in newer versions) with "END PRELUDE:"; later it
// sends only the items that changed. A request is a block of the same form;
// the server answers "ACK" or "NAK", each also followed by a blank line.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct CPanelBlock {
    std::string header;  // "VIDEO OUTPUT ROUTING:", or "ACK" / "NAK"
    std::vector<std::string> lines;
};

// What the client has been told so far, kept as the server sent it.
struct CVideohubState {
    std::string protocolVersion;                // "Version:" of the preamble
    std::map<std::string, std::string> device;  // "Model name" -> "..."
    std::map<int, std::string> inputLabels;
    std::map<int, std::string> outputLabels;
    std::map<int, char> outputLocks;   // 'U' unlocked, 'O' ours, 'L' another client's
    std::map<int, int> outputRouting;  // output -> input, both from 0
    bool preludeEnded = false;
    // Lines of the blocks above that did not parse: a server fault to report.
    std::vector<std::string> badLines;
};

enum class EVideohubReply { ack, nak, timeout, closed };

class CVideohubClient {
public:
    // Connects within timeoutMs; on failure Connected() is false and Error()
    // says why.
    CVideohubClient(const std::string& host, int port, int timeoutMs);
    ~CVideohubClient();
    CVideohubClient(const CVideohubClient&) = delete;
    CVideohubClient& operator=(const CVideohubClient&) = delete;

    bool Connected() const { return m_fd >= 0; }
    const std::string& Error() const { return m_error; }
    const CVideohubState& State() const { return m_state; }

    // Reads blocks until "END PRELUDE:"; false on timeout or close.
    bool ReadPrelude(int timeoutMs);
    // The next whole block, its status applied to State(); nothing on timeout,
    // close or a block over the size limit.
    std::optional<CPanelBlock> NextBlock(int timeoutMs);
    // Reads blocks until one with this header, applying every one.
    std::optional<CPanelBlock> WaitForBlock(std::string_view header, int timeoutMs);

    // Sends a request block and waits for its ACK or NAK; status blocks that
    // come first are applied. What comes after the reply is left for
    // NextBlock().
    EVideohubReply Request(const CPanelBlock& block, int timeoutMs);
    EVideohubReply Route(const std::vector<std::pair<int, int>>& outputInput, int timeoutMs);
    EVideohubReply SetInputLabel(int input, const std::string& label, int timeoutMs);
    EVideohubReply SetOutputLabel(int output, const std::string& label, int timeoutMs);
    // 'O' to lock, 'U' to unlock one's own lock, 'F' to force another's open.
    EVideohubReply SetOutputLock(int output, char lock, int timeoutMs);
    // A header with no lines: the server sends that block in full after ACK.
    EVideohubReply RequestDump(const std::string& header, int timeoutMs);
    EVideohubReply Ping(int timeoutMs);

    // Sends bytes as they are (hostile tests); false if they could not all go.
    bool SendRaw(std::string_view bytes, int timeoutMs);
    // Reads (and drops) what comes until the server closes the connection;
    // true if it did within timeoutMs.
    bool WaitForClose(int timeoutMs);
    // The socket, for tests that shape it (a small receive buffer, a client
    // that stops reading).
    int Fd() const { return m_fd; }

    static std::string Format(const CPanelBlock& block);

private:
    std::optional<CPanelBlock> TakeBlock();
    bool Fill(int timeoutMs);
    void Apply(const CPanelBlock& block);

    int m_fd = -1;
    bool m_closed = false;
    std::string m_error;
    std::string m_in;  // received, not yet a whole block
    CVideohubState m_state;
};

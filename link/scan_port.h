// A connection of a bus scan's own, to a port the program's link is not on (a
// device or a server's address typed or picked but not yet confirmed): opened
// with the switcher's line settings on the owner thread without blocking, read
// when asked, closed with it. What goes over it never reaches the link, its
// owed replies or the settings model.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "link/link_failure.h"
#include "link/transport.h"
#include "protocol/line_assembler.h"

class CScanPort {
public:
    using Clock = std::chrono::steady_clock;
    enum class Status { kConnecting, kOpen, kFailed };

    // path: a device, or a server's address (looked up through Link().Resolver()).
    explicit CScanPort(const std::string& path);
    ~CScanPort();
    CScanPort(const CScanPort&) = delete;
    CScanPort& operator=(const CScanPort&) = delete;

    // Starts opening: a device at once, a server's connection goes on in
    // Continue. Each stage (the name service, the server) gets its time-out.
    Status Open(Clock::time_point now = Clock::now());
    // Looks at a connection under way without waiting.
    Status Continue(Clock::time_point now = Clock::now());
    Status State() const { return m_status; }
    // Why it failed, once it has.
    const CLinkFailure& Failure() const { return m_failure; }
    // What to poll, and for what: the connection under way, or the open port's input.
    int PollFd() const;
    short PollEvents() const;

    bool Write(std::string_view bytes);
    // Reads what is there and hands over each whole line, CR LF included.
    void ReadLines(const std::function<void(std::string_view line)>& onLine);

private:
    Status Fail(CLinkFailure failure);
    Status Finish(const COpenResult& opened);

    std::unique_ptr<ITransport> m_pPort;
    Status m_status = Status::kConnecting;
    CLinkFailure m_failure;
    COpenResult m_opening;
    Clock::time_point m_deadline{};
    CLineAssembler m_lines;
};

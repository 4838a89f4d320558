#include "link/reply_dispatch.h"

#include <poll.h>

#include <cerrno>

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/reply_answer.h"
#include "link/serial_port.h"

namespace {

int DispatchPending() {
    CLinkContext& link = Link();
    CReplyQueue& replies = link.Replies();
    replies.ConsumeReady();
    if (link.Dispatching()) return 0;
    link.SetDispatching(true);
    int count = 0;
    while (auto item = replies.Pop()) {
        if (auto* event = std::get_if<CPortEvent>(&*item)) {
            ApplyPortEvent(*event);
            continue;
        }
        const CReceivedLine& received = std::get<CReceivedLine>(*item);
        DispatchLine(received.line, received.time);
        ++count;
    }
    link.SetDispatching(false);
    return count;
}

}  // namespace

void DispatchLine(std::string_view line, std::chrono::system_clock::time_point receivedAt) {
    CLinkContext& link = Link();
    link.SetReceivedAt(receivedAt);
    link.NoteReceived(line);
    const CAttribution attribution = link.Owed().Attribute(line, g_bRs485 != 0);
    // A copy: the taker may give the lines back while it runs.
    if (ReplyTaker taker = link.Taker()) {
        taker(line, attribution);
    } else {
        AnswerReply(line, attribution);
    }
}

void DispatchReplies() {
    DispatchPending();
}

bool WaitForReplies(int timeoutMs) {
    pollfd pfd{Link().Replies().ReadyFd(), POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&pfd, 1, timeoutMs);
    } while (ready < 0 && errno == EINTR);
    return DispatchPending() > 0;
}

#include "link/reply_dispatch.h"

#include <poll.h>

#include <cerrno>

#include "link/link_context.h"
#include "link/reply_interpreter.h"
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
        const std::string& line = std::get<std::string>(*item);
        link.NoteReceived(line);
        // A copy: the taker may give the lines back while it runs.
        if (ReplyTaker taker = link.Taker()) {
            taker(line);
        } else {
            InterpretReply(line);
        }
        ++count;
    }
    link.SetDispatching(false);
    return count;
}

}  // namespace

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

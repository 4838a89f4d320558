#include "link/reply_interpreter.h"

#include "link/comm_settings.h"
#include "link/link_flags.h"
#include "link/readback_decoders.h"
#include "model/settings_model.h"
#include "protocol/rs485_frame.h"
#include "sink/message_sink.h"

std::string_view WorkLine(std::string_view line) {
    return g_bRs485 ? DropAddress(line) : line;  // the address echo
}

ReplyKind ClassifyReply(std::string_view line) {
    return ReplyKindOf(WorkLine(line));
}

void InterpretReply(std::string_view line) {
    g_nNoReplyTicks = 0;
    g_bAwaitingReply = 0;
    std::string_view work = WorkLine(line);
    g_bErrorReply = 0;

    if (work == kGoReply) {
        if (g_nSendStep == 0) ShowSuccess();
        return;
    }
    if (auto data = DataLineOf(work)) {
        DecodeDataLine(*data, work);
        return;
    }
    if (auto error = ErrorReplyOf(work)) {
        g_bErrorReply = 1;
        ShowReplyError(ErrorReplyText(*error));
        return;
    }
    // Anything else is dropped without a word; it still counted as a reply.
}

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

CReply InterpretReply(std::string_view line) {
    g_nNoReplyTicks = 0;
    g_bAwaitingReply = 0;
    std::string_view work = WorkLine(line);
    g_bErrorReply = 0;

    const CReply reply = ReadReply(work);
    switch (reply.kind) {
        case ReplyKind::kGo:
            if (g_nSendStep == 0) ShowSuccess();
            break;
        case ReplyKind::kData:
            DecodeDataLine(*reply.data, work);
            break;
        case ReplyKind::kError:
            g_bErrorReply = 1;
            ShowReplyError(ErrorReplyText(*reply.error));
            break;
        case ReplyKind::kOther:
            break;  // dropped without a word; it still counted as a reply
    }
    return reply;
}

#include "link/reply_answer.h"

#include "link/link_context.h"
#include "link/link_flags.h"
#include "link/reply_interpreter.h"
#include "model/settings_model.h"
#include "sink/message_sink.h"

std::string FaultBoxText(const CReplyFault& fault) {
    switch (fault.kind) {
        case AnswerKind::kErrorReply:
            if (fault.error) return ErrorReplyText(*fault.error);
            break;
        case AnswerKind::kEcho:
            return "Echo Reply";
        default:
            break;
    }
    return "Unknown Reply";
}

namespace {

// A reply came: the monitor counts afresh, and goes on waiting only while
// another line is still owed its answer.
void NoteAnswered() {
    g_nNoReplyTicks = 0;
    g_bAwaitingReply = Link().Owed().Awaited() ? 1 : 0;
}

// Stops a run as an error reply does, with its own box.
void Fault(AnswerKind kind, std::string_view line, const COwedReply& owed) {
    g_bErrorReply = 1;
    CReplyFault fault{kind, std::nullopt, std::string(line), owed};
    Link().NoteFault(fault);
    ShowReplyError(FaultBoxText(fault));
}

AnswerKind Echo(std::string_view line, const COwedReply& owed) {
    Link().NoteEcho();
    // A read's answer may still follow; a set command's never is its echo.
    if (!owed.read && !owed.bQuiet) Fault(AnswerKind::kEcho, line, owed);
    return AnswerKind::kEcho;
}

AnswerKind ErrorAnswer(std::string_view line, ErrorReply error, const COwedReply& owed) {
    Link().NoteFault({AnswerKind::kErrorReply, error, std::string(line), owed});
    InterpretReply(line);  // its flag and box
    return AnswerKind::kErrorReply;
}

AnswerKind ReadAnswer(std::string_view line, const COwedReply& owed) {
    if (CouldAnswer(owed, WorkLine(line), false)) {
        InterpretReply(line);  // decoded where reads land
        return AnswerKind::kData;
    }
    // Not the data line asked for: nothing lands, and the read names it missing.
    g_bErrorReply = 0;
    Link().NoteUnreadable();
    return AnswerKind::kUnreadable;
}

AnswerKind SetAnswer(std::string_view line, const COwedReply& owed) {
    if (WorkLine(line) != kGoReply) {
        Fault(AnswerKind::kNotAnAnswer, line, owed);
        return AnswerKind::kNotAnAnswer;
    }
    if (owed.nStep == 0) {
        InterpretReply(line);  // "Success", unless a cycle has started since
    } else {
        g_bErrorReply = 0;  // a cycle's line: no box, even when the cycle has ended
    }
    return AnswerKind::kAck;
}

// What a quiet line's answer was, with nothing done about it.
AnswerKind QuietAnswer(std::string_view line, const COwedReply& owed) {
    const CReply reply = ReadReply(WorkLine(line));
    if (reply.kind == ReplyKind::kError) return AnswerKind::kErrorReply;
    if (owed.read)
        return CouldAnswer(owed, WorkLine(line), false) ? AnswerKind::kData
                                                        : AnswerKind::kUnreadable;
    return reply.kind == ReplyKind::kGo ? AnswerKind::kAck : AnswerKind::kNotAnAnswer;
}

AnswerKind Answer(std::string_view line, const COwedReply& owed) {
    const CReply reply = ReadReply(WorkLine(line));
    if (reply.kind == ReplyKind::kError) return ErrorAnswer(line, *reply.error, owed);
    return owed.read ? ReadAnswer(line, owed) : SetAnswer(line, owed);
}

// Under a timer a cycle's lines run ahead of their replies, and several
// replies may come between two of its ticks: an error among them stays
// raised, and stays the fault, until the cycle has seen it.
std::optional<CReplyFault> PendingFault() {
    const auto& fault = Link().LastFault();
    if (g_bErrorReply && fault && fault->owed.nStep != 0) return fault;
    return std::nullopt;
}

}  // namespace

AnswerKind AnswerReply(std::string_view line, const CAttribution& attribution) {
    if (attribution.Unsolicited()) return AnswerKind::kUnsolicited;
    const COwedReply& owed = *attribution.owed;
    if (attribution.bEcho) return Echo(line, owed);
    if (attribution.Late()) return AnswerKind::kLate;
    if (owed.bQuiet) {
        NoteAnswered();
        const AnswerKind kind = QuietAnswer(line, owed);
        Link().NoteAnswer(owed.nId, kind);
        return kind;
    }
    NoteAnswered();  // before any box, whose event loop the monitor ticks in
    const std::optional<CReplyFault> pending = PendingFault();
    const AnswerKind kind = Answer(line, owed);
    NoteAnswered();  // the interpreter cleared the wait whatever else is owed
    Link().NoteAnswer(owed.nId, kind);
    if (pending) {
        g_bErrorReply = 1;
        Link().NoteFault(*pending);
    }
    return kind;
}

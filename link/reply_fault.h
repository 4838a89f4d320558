// What a received line turned out to be once the line it answers is known, and
// the record of an answer that stops a run: the error reply, or the line that
// is no answer at all, with the line it answered.
#pragma once

#include <optional>
#include <string>

#include "link/owed_replies.h"
#include "protocol/replies.h"

enum class AnswerKind {
    kUnsolicited,  // nothing was owed that it answers: for the log only
    kLate,         // the answer to a question given up: taken, nothing more
    kEcho,         // a line the program sent, coming back
    kAck,          // GO to a set command
    kData,         // the data line a read asked for, applied
    kErrorReply,   // one of the six error replies
    kUnreadable,   // a read's answer that is not the data line it asks for
    kNotAnAnswer,  // a set command's answer that is neither GO nor an error reply
};

struct CReplyFault {
    AnswerKind kind = AnswerKind::kErrorReply;  // kErrorReply, kNotAnAnswer or kEcho
    std::optional<ErrorReply> error;            // for kErrorReply
    std::string strReply;                       // as received
    COwedReply owed;                            // the line it answered (or echoed)
};

// The box a fault shows: an error reply's own text, "Unknown Reply", "Echo Reply".
std::string FaultBoxText(const CReplyFault& fault);

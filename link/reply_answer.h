// The owner thread's handling of a received line once the owed replies have
// said which line it answers. Only an answer counts: a line nothing was owed
// (a device's chatter, a stale reply) and the late answer to a question given
// up are for the log alone, and a set command's answer that is neither GO nor
// an error reply, or a line coming back as it was sent, stops a run as an
// error reply does.
#pragma once

#include <string_view>

#include "link/owed_replies.h"
#include "link/reply_fault.h"

// Interprets the line as the answer attribution names: the reply
// interpreter's boxes, flags and decoders for the answers it knows, the fault
// (Link().LastFault()) for those that are none.
AnswerKind AnswerReply(std::string_view line, const CAttribution& attribution);

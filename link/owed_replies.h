// Which line each reply answers. The switcher answers every command line with
// one line, in the order the lines went out, so each line sent is owed one
// reply and each line received settles the oldest line still owed. A question
// whose asker stops waiting early (a model probe, a bus scan) is still owed
// its answer: one that comes late is taken as that question's, never as the
// answer to the line after it. A line is owed its answer for the reply time
// only, and nothing is owed any more once the port has been lost or comes back.
#pragma once

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "protocol/read_lines.h"

// How long the switcher may take to answer a line: the connection monitor
// reports "No Connect" on its seventh 500 ms tick after a send.
inline constexpr int kReplyTimeMs = 3500;

struct COwedReply {
    unsigned long nId = 0;             // 1, 2, ... in the order the lines went out
    std::string strSent;               // as it went on the wire, address and CR LF included
    std::optional<CReadRequest> read;  // a read command: the data line it asks for
    int nAddress = -1;                 // the slave address it went to; -1 on RS-232C
    int nStep = 0;                     // the step of the cycle that sent it; 0 outside one
    bool bGivenUp = false;             // its asker no longer waits for it
    bool bEchoed = false;              // the line itself has already come back once
    bool bQuiet = false;  // its sender reads the answer itself: no box, flag or decoding
    std::chrono::steady_clock::time_point sent{};
};

// What a received line is, as far as the lines sent tell.
struct CAttribution {
    std::optional<COwedReply> owed;  // the line it answers, or the one it echoes
    bool bEcho = false;              // the line is one that was sent, coming back: no answer

    // Nothing was owed that it could answer.
    bool Unsolicited() const { return !owed; }
    // It answers a line whose asker has stopped waiting.
    bool Late() const { return owed && !bEcho && owed->bGivenUp; }
};

enum class ReplyFate {
    kOwed,        // still awaited
    kAnswered,    // a line answered it
    kUnanswered,  // the reply time passed, or the port was lost, first
};

class COwedReplies {
public:
    using Clock = std::chrono::steady_clock;

    explicit COwedReplies(Clock::duration replyTime = std::chrono::milliseconds(kReplyTimeMs))
        : m_replyTime(replyTime) {}

    // A line went out: it is owed a reply from now on. Returns its id.
    unsigned long Owe(COwedReply reply, Clock::time_point now = Clock::now());
    // Which line `line` (as received) answers; settles that line. On RS-485 a
    // line to a question already given up must carry its address to answer it.
    CAttribution Attribute(std::string_view line, bool bRs485,
                           Clock::time_point now = Clock::now());

    // The asker of id stops waiting; its answer is still owed.
    void GiveUp(unsigned long id);
    // Nobody waits for any line still owed ("No Connect" has been said).
    void GiveUpAll();
    // Nothing is owed any more: the port was lost, or came back.
    void Forget();

    ReplyFate Fate(unsigned long id, Clock::time_point now = Clock::now());
    // The reply that answered id, as received; empty when none did.
    std::string Answer(unsigned long id) const;
    // Whether a line is owed that somebody still waits for.
    bool Awaited(Clock::time_point now = Clock::now());
    // The id of the line that went out last; 0 before the first.
    unsigned long LastId() const { return m_nLastId; }
    size_t Count() const { return m_owed.size(); }

    void Reset();

private:
    struct CSettled {
        unsigned long nId;
        ReplyFate fate;
        std::string strAnswer;
    };

    void Expire(Clock::time_point now);
    void Settle(const COwedReply& owed, ReplyFate fate, std::string_view answer = {});
    std::optional<CAttribution> Echo(std::string_view line);
    void SkipToRead(std::string_view line, bool bRs485);

    Clock::duration m_replyTime;
    std::deque<COwedReply> m_owed;
    std::deque<CSettled> m_settled;  // the latest only
    unsigned long m_nLastId = 0;
};

// Whether the line as received could be the answer to `owed`: an error reply,
// or the reply its command asks for (GO, or the data line of its read), from
// its slave address on RS-485.
bool CouldAnswer(const COwedReply& owed, std::string_view line, bool bRs485);

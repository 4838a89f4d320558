// What the program keeps around its link beyond the named link globals
// (g_hComm, g_bAwaitingReply, ...): who watches the lines, where a dry run
// sends them, the writer and the reply queue shared with the I/O thread, the
// open transport and the event that wakes that thread, where the profile and
// the port are, and where the link stands. One instance, Link(); Reset() puts
// it back as the program starts.
#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "link/found_switchers.h"
#include "link/host_lookup.h"
#include "link/line_watchers.h"
#include "link/link_state.h"
#include "link/owed_replies.h"
#include "link/port_writer.h"
#include "link/read_back_copy.h"
#include "link/reply_fault.h"
#include "link/reply_queue.h"
#include "link/transport.h"

// Receives framed lines instead of the port.
using LineTap = std::function<void(std::string_view framedLine)>;
// Receives reply lines, with the line each answers, instead of the reply interpreter.
using ReplyTaker = std::function<void(std::string_view line, const CAttribution& attribution)>;

class CLinkContext {
public:
    CLinkContext() = default;
    ~CLinkContext();
    CLinkContext(const CLinkContext&) = delete;
    CLinkContext& operator=(const CLinkContext&) = delete;

    // --- The lines on the link; the owner thread only ---

    // Every framed line SendCommand hands over, wherever it goes.
    CLineWatchers& SentLines() { return m_sent; }
    // Every received line, just before it is interpreted.
    CLineWatchers& ReceivedLines() { return m_received; }
    // A dry run prints the lines instead, tests capture them; an empty tap
    // sends to the port again.
    void SetLineTap(LineTap tap) { m_tap = std::move(tap); }
    const LineTap& Tap() const { return m_tap; }
    // While set, every received line goes here instead of to the reply
    // interpreter (a bus scan, whose answers must not land in the settings
    // model); the watchers still see it. Empty gives the lines back.
    void SetReplyTaker(ReplyTaker taker) { m_taker = std::move(taker); }
    const ReplyTaker& Taker() const { return m_taker; }
    // Lines handed over by SendCommand, and lines interpreted, since the start.
    unsigned long LinesSent() const { return m_nLinesSent; }
    unsigned long RepliesInterpreted() const { return m_nRepliesInterpreted; }
    // Counts the line and shows it to its watchers.
    void NoteSent(std::string_view framedLine);
    void NoteReceived(std::string_view line);
    // When the line being dispatched was received (the I/O thread's clock),
    // for stamping it in a log: it may be dispatched well after, behind a box.
    std::chrono::system_clock::time_point ReceivedAt() const { return m_receivedAt; }
    void SetReceivedAt(std::chrono::system_clock::time_point at) { m_receivedAt = at; }
    // Set while DispatchReplies works through the queue, so that a box's
    // nested event loop does not start on the next line.
    bool Dispatching() const { return m_bDispatching; }
    void SetDispatching(bool dispatching) { m_bDispatching = dispatching; }

    // --- What the lines sent are owed; the owner thread only ---

    // Each line sent is owed one reply, which tells the line each received
    // line answers.
    COwedReplies& Owed() { return m_owed; }
    // The last answer that stops a run: an error reply, or a set command's
    // answer that is none (an echo among them). A run clears it as it starts.
    void NoteFault(CReplyFault fault) { m_lastFault = std::move(fault); }
    // What the line answered last was taken for, and the line (its id).
    void NoteAnswer(unsigned long id, AnswerKind kind) { m_lastAnswer = {id, kind}; }
    unsigned long LastAnsweredId() const { return m_lastAnswer.first; }
    AnswerKind LastAnswerKind() const { return m_lastAnswer.second; }
    const std::optional<CReplyFault>& LastFault() const { return m_lastFault; }
    void ClearFault() { m_lastFault.reset(); }
    // Lines that came back as they were sent, and reads answered by a line
    // that is not their data line, since the start.
    void NoteEcho() { ++m_nEchoes; }
    unsigned long Echoes() const { return m_nEchoes; }
    void NoteUnreadable() { ++m_nUnreadable; }
    unsigned long Unreadable() const { return m_nUnreadable; }
    // The connection monitor's "No Connect" reports since the start: a run
    // watches the count to stop when the switcher no longer answers.
    void NoteNoConnect() { ++m_nNoConnects; }
    unsigned long NoConnects() const { return m_nNoConnects; }

    // --- Where data lines land and how cycles are paced; the owner thread only ---

    // A compare reads the switcher into a copy of the tables, starting from
    // start: data lines land there from now on. The switcher sends a data line
    // only in answer to a read command, so one that comes late still belongs to
    // the read that asked for it: the copy stays the target until a read-back
    // calls ReadIntoModel.
    void ReadIntoCopy(const CSettingsTables& start);
    void ReadIntoModel() { m_pReadCopy.reset(); }
    // The copy data lines land in; nullptr while they land in the model.
    CReadBackCopy* ReadCopy() const { return m_pReadCopy.get(); }
    // Cycles send each line once the switcher has answered the one before,
    // instead of one line per tick of their timer.
    void SetReplyPaced(bool paced) { m_bReplyPaced = paced; }
    bool ReplyPaced() const { return m_bReplyPaced; }

    // --- Where the profile and the port are; the owner thread only ---

    // A profile named on the command line; empty = QELVAR_PROFILE or the default.
    void SetProfilePath(std::string path) { m_strProfilePath = std::move(path); }
    const std::string& GivenProfilePath() const { return m_strProfilePath; }
    // A device that replaces the profile's port (--port, the built-in virtual
    // switcher); empty = the profile's port.
    void SetCommPortOverride(std::string path) { m_strPortOverride = std::move(path); }
    const std::string& CommPortOverride() const { return m_strPortOverride; }
    // How a server's host name is looked up (getaddrinfo; tests put a name
    // service of their own here). Read when the port is made.
    void SetHostResolver(HostResolver resolver) { m_resolver = std::move(resolver); }
    const HostResolver& Resolver() const { return m_resolver; }

    // The switchers the last search of the bus found, and where.
    CFoundSwitchers& Found() { return m_found; }

    // Connected, waiting for the port, reconnecting; updated from the I/O
    // thread's events as the replies are dispatched. The owner thread only.
    CLinkState& State() { return m_state; }

    // --- Shared with the I/O thread ---

    CPortWriter& Writer() { return m_writer; }
    CReplyQueue& Replies() { return m_replies; }
    // The port and the event that wakes the I/O thread (-1 for none): set and
    // closed only while no I/O thread runs, which reads them without a lock.
    // While it runs the I/O thread closes and reopens the port itself when it
    // is lost, detached from the writer meanwhile.
    void AdoptPort(std::unique_ptr<ITransport> port, int wakeFd);
    void ClosePort();
    ITransport* Port() const { return m_pPort.get(); }
    int WakeFd() const { return m_nWakeFd; }
    // Makes the I/O thread look at the port and the writer again.
    void WakeIoThread() const;

    // Back to how the program starts: no port, no watchers, no tap, empty
    // queues, nothing owed, no fault, counts at zero, reads into the model,
    // timer pacing, the usual profile, port and name service, no link state.
    // Only while no I/O thread runs.
    void Reset();

private:
    CLineWatchers m_sent;
    CLineWatchers m_received;
    LineTap m_tap;
    ReplyTaker m_taker;
    unsigned long m_nLinesSent = 0;
    unsigned long m_nRepliesInterpreted = 0;
    bool m_bDispatching = false;
    std::chrono::system_clock::time_point m_receivedAt{};
    COwedReplies m_owed;
    std::optional<CReplyFault> m_lastFault;
    std::pair<unsigned long, AnswerKind> m_lastAnswer{0, AnswerKind::kUnsolicited};
    unsigned long m_nEchoes = 0;
    unsigned long m_nUnreadable = 0;
    unsigned long m_nNoConnects = 0;
    std::unique_ptr<CReadBackCopy> m_pReadCopy;
    bool m_bReplyPaced = false;
    CLinkState m_state;
    CFoundSwitchers m_found;

    std::string m_strProfilePath;
    std::string m_strPortOverride;
    HostResolver m_resolver = ResolveHost;

    CPortWriter m_writer;
    CReplyQueue m_replies;
    std::unique_ptr<ITransport> m_pPort;
    int m_nWakeFd = -1;
};

CLinkContext& Link();

#include "cli/link_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "cli/profile_report.h"
#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_flags.h"
#include "link/link_lifetime.h"
#include "link/reply_dispatch.h"
#include "link/reply_interpreter.h"
#include "link/reply_queue.h"
#include "model/settings_file.h"
#include "model/settings_model.h"
#include "protocol/fields.h"
#include "protocol/time_left.h"
#include "protocol/visible_text.h"

void ApplyLinkSettings(const CCliOptions& o) {
    ReadProfileSettings(o);
    ResetModelDefaults();
    if (!o.strPort.empty()) Link().SetCommPortOverride(o.strPort);
    if (o.nInterface >= 0) g_bRs485 = o.nInterface;
    if (o.nInterface == 1) g_nSlaveAddress = o.nAddress;
    if (o.nModel >= 0) g_nModel = o.nModel;
}

bool WaitForAnswer(unsigned long id) {
    using Clock = std::chrono::steady_clock;
    const auto deadline = Clock::now() + std::chrono::milliseconds(kReplyTimeMs);
    const unsigned long losses = Link().State().Losses();
    DispatchReplies();
    // An echo answers nothing, but stops as an error reply does.
    while (Link().Owed().Fate(id) == ReplyFate::kOwed && !g_bErrorReply) {
        if (PortLostSince(losses)) return false;
        const int left = MsUntil(deadline, Clock::now());
        if (left <= 0) return false;
        WaitForReplies(left);
    }
    return Link().Owed().Fate(id) == ReplyFate::kAnswered || g_bErrorReply;
}

std::string FaultMessage(const CReplyFault& fault) {
    switch (fault.kind) {
        case AnswerKind::kErrorReply:
            return FaultBoxText(fault);
        case AnswerKind::kEcho:
            return "the reply is the line just sent: " + EchoText();
        default:
            break;
    }
    return NotAnAnswerText(fault.strReply);
}

std::string EchoText() {
    return "the port echoes what it sends (an RS-485 adapter without echo suppression, or a "
           "loop-back plug)";
}

std::string NotAnAnswerText(std::string_view reply) {
    return "the reply is not one the switcher gives: \"" + std::string(ShownReply(reply)) + "\"";
}

bool PortLostSince(unsigned long losses) {
    return Link().State().Losses() != losses || !Link().State().Connected();
}

std::string LostPortText() {
    const CLinkState& state = Link().State();
    const std::string why = LinkFailureText(state.LastFailure());
    return state.Port() + (why.empty() ? "" : " (" + why + ")");
}

bool LoadRunFile(const CCliOptions& options, const std::string& path) {
    if (!LoadSettingsFile(path)) return false;
    if (options.nModel >= 0) g_nModel = options.nModel;
    return true;
}

std::string_view ShownReply(std::string_view line) {
    return LineBody(WorkLine(line));
}

namespace {

// --verbose: every line sent and received, with a time stamp, on stderr.
void Log(char direction, std::string_view line) {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", std::localtime(&seconds));
    std::fprintf(stderr, "%s.%03d %c %s\n", stamp, static_cast<int>(ms.count()), direction,
                 VisibleText(line).c_str());
}

}  // namespace

CLinkSession::CLinkSession(const CCliOptions& options) {
    const CSetupResult setup = StartLink(IgnoreSetupFailure);  // said below, in one message
    Watch(options.bVerbose);
    m_bOpen = AwaitPort(options.nWaitS, setup);
    if (m_bOpen) return;  // a first open that failed before the port came counts no more
    const CLinkState& state = Link().State();
    const std::string name = CommPortName();
    // A port that is there but cannot be set up says so in its first failure;
    // the steps after a failed open only repeat its reason.
    std::string why = state.Connected() && !setup.Ok() ? SetupFailureText(setup.failures.front())
                                                       : LinkFailureText(state.LastFailure());
    if (options.nWaitS > 0) why += " (waited " + std::to_string(options.nWaitS) + " s)";
    PrintError("cannot use the port" + (name.empty() ? "" : " " + name) + ": " + why);
    StopLink();
}

// Until the port is up: a device that opened is; a server is once its first
// connection attempt has ended well; an absent port is waited for, waitS at most.
bool CLinkSession::AwaitPort(int waitS, const CSetupResult& setup) {
    using Clock = std::chrono::steady_clock;
    const CLinkState& state = Link().State();
    if (state.Connected()) return setup.Ok();
    const auto deadline = Clock::now() + std::chrono::seconds(waitS);
    while (!state.Connected()) {
        const bool tried = state.Status() != LinkStatus::kConnecting;
        const int left = MsUntil(deadline, Clock::now());
        if (tried && left <= 0) return false;
        WaitForReplies(tried ? left : 1000);
    }
    return true;
}

CLinkSession::~CLinkSession() {
    if (m_bOpen) StopLink();
}

void CLinkSession::Watch(bool verbose) {
    m_replies = Link().ReceivedLines().Watch([this, verbose](std::string_view line) {
        m_strLastReply = line;
        if (verbose) Log('<', line);
    });
    if (!verbose) return;
    m_sent = Link().SentLines().Watch([](std::string_view line) { Log('>', line); });
    m_states = Link().State().Changes().Watch(
        [](const CLinkChange& change) { Log('!', LinkChangeText(change)); });
}

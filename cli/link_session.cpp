#include "cli/link_session.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>

#include "link/comm_settings.h"
#include "link/link_context.h"
#include "link/link_lifetime.h"
#include "link/reply_dispatch.h"
#include "link/reply_queue.h"
#include "model/settings_model.h"
#include "protocol/fields.h"

void ApplyLinkSettings(const CCliOptions& o) {
    if (!o.strProfile.empty()) Link().SetProfilePath(o.strProfile);
    for (const auto& note : ReadCommSettings()) PrintError(note);
    ResetModelDefaults();
    if (!o.strPort.empty()) Link().SetCommPortOverride(o.strPort);
    if (o.nInterface >= 0) g_bRs485 = o.nInterface;
    if (o.nInterface == 1) g_nSlaveAddress = o.nAddress;
    if (o.nModel >= 0) g_nModel = o.nModel;
}

bool WaitForReplyAfter(unsigned long before, int timeoutMs) {
    using Clock = std::chrono::steady_clock;
    auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    DispatchReplies();
    while (Link().RepliesInterpreted() <= before) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        WaitForReplies(static_cast<int>(left.count()));
    }
    return true;
}

std::string_view ShownReply(std::string_view line) {
    if (g_bRs485) line.remove_prefix(std::min<size_t>(2, line.size()));
    return LineBody(line);
}

namespace {

std::string Escaped(std::string_view line) {
    std::string out;
    for (char c : line) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else {
            out += c;
        }
    }
    return out;
}

// --verbose: every line sent and received, with a time stamp, on stderr.
void Log(char direction, std::string_view line) {
    auto now = std::chrono::system_clock::now();
    std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()) % 1000;
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", std::localtime(&seconds));
    std::fprintf(stderr, "%s.%03d %c %s\n", stamp, static_cast<int>(ms.count()), direction,
                 Escaped(line).c_str());
}

}  // namespace

CLinkSession::CLinkSession(const CCliOptions& options, CCliSink& sink) {
    sink.setupErrors.clear();
    StartLink();
    Watch(options.bVerbose);
    m_bOpen = sink.setupErrors.empty();
    if (m_bOpen) return;
    // The first failure says why; the steps after a failed open only repeat it.
    PrintError("cannot use the port: " + sink.setupErrors.front());
    StopLink();
}

CLinkSession::~CLinkSession() {
    if (m_bOpen) StopLink();
}

void CLinkSession::Watch(bool verbose) {
    m_replies = Link().ReceivedLines().Watch([this, verbose](std::string_view line) {
        m_strLastReply = line;
        if (verbose) Log('<', line);
    });
    if (verbose) m_sent = Link().SentLines().Watch([](std::string_view line) { Log('>', line); });
}

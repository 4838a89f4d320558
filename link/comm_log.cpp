#include "link/comm_log.h"

#include <cstdio>
#include <ctime>

#include "link/link_context.h"

namespace {

std::string TimeStamp(std::chrono::system_clock::time_point time) {
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(time);
    const auto ms = duration_cast<milliseconds>(time.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[32];
    std::snprintf(stamp, sizeof stamp, "%02d:%02d:%02d.%03d", local.tm_hour, local.tm_min,
                  local.tm_sec, static_cast<int>(ms));
    return stamp;
}

}  // namespace

void CCommLog::Add(CommDirection direction, std::string_view line) {
    Add(CCommLogEntry{std::chrono::system_clock::now(), direction, std::string(line)});
}

void CCommLog::Add(CCommLogEntry entry) {
    m_entries.push_back(std::move(entry));
    while (m_entries.size() > m_nCapacity) m_entries.pop_front();
    ++m_nTotalAdded;
    if (m_onChange) m_onChange();
}

void CCommLog::Clear() {
    m_entries.clear();
    if (m_onChange) m_onChange();
}

namespace {

// Every byte as it is but those below 0x20 (and DEL, and above when all is set).
std::string Escape(std::string_view line, bool all) {
    std::string out;
    out.reserve(line.size() + 4);
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\\') {
            out += "\\\\";
        } else if (byte < 0x20 || byte == 0x7F || (all && byte > 0x7F)) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        } else {
            out += c;
        }
    }
    return out;
}

std::string EscapeControlBytes(std::string_view text) {
    return Escape(text, false);
}

}  // namespace

std::string EscapeLine(std::string_view line) {
    return Escape(line, true);
}

std::string FormatEntry(const CCommLogEntry& entry) {
    switch (entry.direction) {
        case CommDirection::kSent:
            return TimeStamp(entry.time) + " > " + EscapeLine(entry.line);
        case CommDirection::kReceived:
            return TimeStamp(entry.time) + " < " + EscapeLine(entry.line);
        case CommDirection::kNote:
            break;
    }
    // A note is the program's own text, which may hold a file name in UTF-8.
    return TimeStamp(entry.time) + " ! " + EscapeControlBytes(entry.line);
}

std::string FormatLog(const CCommLog& log) {
    std::string text;
    for (const auto& entry : log.Entries()) text += FormatEntry(entry) + "\n";
    return text;
}

// The watchers run where SendCommand and DispatchReplies run: on the thread
// that owns the link, the only one that touches the log.
void CCommLog::FollowLink() {
    m_sentFeed = Link().SentLines().Watch(
        [this](std::string_view line) { Add(CommDirection::kSent, line); });
    // Stamped when the I/O thread saw them: the owner may get to them only
    // after a box has been dismissed.
    m_receivedFeed = Link().ReceivedLines().Watch([this](std::string_view line) {
        Add({Link().ReceivedAt(), CommDirection::kReceived, std::string(line)});
    });
    m_stateFeed = Link().State().Changes().Watch([this](std::string_view change) {
        Add({Link().State().ChangedAt(), CommDirection::kNote, std::string(change)});
    });
}

void CCommLog::StopFollowingLink() {
    m_sentFeed.Cancel();
    m_receivedFeed.Cancel();
    m_stateFeed.Cancel();
}

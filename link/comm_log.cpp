#include "link/comm_log.h"

#include <cstdio>
#include <ctime>

#include "link/link_context.h"
#include "protocol/visible_text.h"

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

std::string FormatEntry(const CCommLogEntry& entry) {
    const char* mark = " ! ";
    if (entry.direction == CommDirection::kSent) mark = " > ";
    if (entry.direction == CommDirection::kReceived) mark = " < ";
    return TimeStamp(entry.time) + mark + VisibleText(entry.line);
}

std::string FormatLog(const CCommLog& log) {
    std::string text;
    for (const auto& entry : log.Entries()) text += FormatEntry(entry) + "\n";
    return text;
}

// The watchers run where SendCommand and DispatchReplies run: on the thread
// that owns the link, the only one that touches the log.
void CCommLog::FollowLink(std::function<std::string(const CLinkChange&)> sayChange) {
    m_sentFeed = Link().SentLines().Watch(
        [this](std::string_view line) { Add(CommDirection::kSent, line); });
    // Stamped when the I/O thread saw them: the owner may get to them only
    // after a box has been dismissed.
    m_receivedFeed = Link().ReceivedLines().Watch([this](std::string_view line) {
        Add({Link().ReceivedAt(), CommDirection::kReceived, std::string(line)});
    });
    m_stateFeed = Link().State().Changes().Watch(
        [this, say = std::move(sayChange)](const CLinkChange& change) {
            Add({Link().State().ChangedAt(), CommDirection::kNote, say(change)});
        });
}

void CCommLog::StopFollowingLink() {
    m_sentFeed.Cancel();
    m_receivedFeed.Cancel();
    m_stateFeed.Cancel();
}

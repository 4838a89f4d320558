// A record of the lines sent to and received from the switcher, for the
// communication log window: the last few thousand lines with their time and
// direction, rendered as text with the control bytes made visible. Notes of
// the program's own (a profile value it ignored, each change of the link's
// state) stand between them as lines of their own.
//
// Not thread-safe, and needs no lock: it is fed by watchers of the link's
// lines, which run on the thread that owns the link (the GUI thread), and
// read by the window on that same thread.
#pragma once

#include <chrono>
#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <string_view>

#include "link/line_watchers.h"
#include "link/link_state.h"

enum class CommDirection { kSent, kReceived, kNote };

struct CCommLogEntry {
    std::chrono::system_clock::time_point time;
    CommDirection direction;
    std::string line;  // the bytes as they went on the wire, slave address and CR LF included;
                       // for a note, its text
};

class CCommLog {
public:
    static constexpr size_t kDefaultCapacity = 5000;

    explicit CCommLog(size_t capacity = kDefaultCapacity) : m_nCapacity(capacity) {}
    CCommLog(const CCommLog&) = delete;
    CCommLog& operator=(const CCommLog&) = delete;

    // Appends a line stamped now; the oldest entry goes once the log is full.
    void Add(CommDirection direction, std::string_view line);
    void Add(CCommLogEntry entry);
    void AddNote(std::string_view text) { Add(CommDirection::kNote, text); }
    void Clear();

    // Oldest first.
    const std::deque<CCommLogEntry>& Entries() const { return m_entries; }
    size_t Capacity() const { return m_nCapacity; }
    // Entries ever added; neither dropping old ones nor Clear lowers it, so a
    // view that remembers it knows how many of the newest entries it lacks.
    unsigned long long TotalAdded() const { return m_nTotalAdded; }

    // Called after every Add and Clear.
    void SetChangeCallback(std::function<void()> callback) { m_onChange = std::move(callback); }

    // From now on every framed line sent and every line received, just before
    // it is interpreted, and each change of the link's state as a note in the
    // words sayChange gives it, until StopFollowingLink or the log's end. Other
    // watchers of the link are left as they are.
    void FollowLink(std::function<std::string(const CLinkChange&)> sayChange = LinkChangeText);
    void StopFollowingLink();
    bool FollowsLink() const { return m_sentFeed.Active(); }

private:
    size_t m_nCapacity;
    std::deque<CCommLogEntry> m_entries;
    unsigned long long m_nTotalAdded = 0;
    std::function<void()> m_onChange;
    CSubscription m_sentFeed;
    CSubscription m_receivedFeed;
    CSubscription m_stateFeed;
};

// "19:40:03.123 > AST01...<CR><LF>" (local time; ">" sent, "<" received,
// "!" a note), without a line end; the line or note as VisibleText shows it.
std::string FormatEntry(const CCommLogEntry& entry);

// Every entry, oldest first, one per text line.
std::string FormatLog(const CCommLog& log);

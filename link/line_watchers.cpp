#include "link/line_watchers.h"

#include <algorithm>

struct CSubscription::CList {
    struct CEntry {
        uint64_t nId;
        CLineWatchers::Watcher watcher;
        bool bActive = true;
    };

    std::vector<std::shared_ptr<CEntry>> entries;
    uint64_t nNextId = 1;  // never reused, so a stale subscription cannot hit a new watcher

    void Remove(uint64_t id) {
        auto it = std::find_if(entries.begin(), entries.end(),
                               [id](const auto& entry) { return entry->nId == id; });
        if (it == entries.end()) return;
        (*it)->bActive = false;
        entries.erase(it);
    }
};

CSubscription::CSubscription(CSubscription&& other) noexcept
    : m_list(std::move(other.m_list)), m_nId(other.m_nId) {
    other.m_list.reset();
}

CSubscription& CSubscription::operator=(CSubscription&& other) noexcept {
    if (this != &other) {
        Cancel();
        m_list = std::move(other.m_list);
        m_nId = other.m_nId;
        other.m_list.reset();
    }
    return *this;
}

void CSubscription::Cancel() {
    if (auto list = m_list.lock()) list->Remove(m_nId);
    m_list.reset();
}

bool CSubscription::Active() const {
    auto list = m_list.lock();
    if (!list) return false;
    return std::any_of(list->entries.begin(), list->entries.end(),
                       [this](const auto& entry) { return entry->nId == m_nId; });
}

CLineWatchers::CLineWatchers() : m_list(std::make_shared<CSubscription::CList>()) {}

CSubscription CLineWatchers::Watch(Watcher watcher) {
    const uint64_t id = m_list->nNextId++;
    using CEntry = CSubscription::CList::CEntry;
    m_list->entries.push_back(std::make_shared<CEntry>(CEntry{id, std::move(watcher)}));
    return CSubscription(m_list, id);
}

void CLineWatchers::Notify(std::string_view line) const {
    if (m_list->entries.empty()) return;
    // A copy, so that watchers may come and go meanwhile; the entries stay alive
    // while they are called.
    const auto entries = m_list->entries;
    for (const auto& entry : entries) {
        if (entry->bActive) entry->watcher(line);
    }
}

size_t CLineWatchers::Count() const {
    return m_list->entries.size();
}

void CLineWatchers::Clear() {
    for (auto& entry : m_list->entries) entry->bActive = false;
    m_list->entries.clear();
}

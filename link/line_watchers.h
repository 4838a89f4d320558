// Any number of watchers of the lines on the link (the communication log, the
// command-line tool's --verbose, ...) or of other news the link gives (the
// changes of its state), each added and removed by its owner: Watch() hands
// back a subscription that removes the watcher when it goes.
//
// Used on the thread that owns the link only. A watcher may add or remove
// watchers, itself included, while it is being called; one removed that way
// is not called again, one added that way sees the next line first.
#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

// Owns one watcher's place in its list. Destroying or cancelling it removes
// the watcher; it outliving the list is harmless.
class CSubscription {
public:
    // What a subscription needs of the list it belongs to.
    struct CList {
        virtual ~CList() = default;
        virtual void Remove(uint64_t id) = 0;
        virtual bool Has(uint64_t id) const = 0;
    };

    CSubscription() = default;
    CSubscription(std::weak_ptr<CList> list, uint64_t id) : m_list(std::move(list)), m_nId(id) {}
    ~CSubscription() { Cancel(); }
    CSubscription(CSubscription&& other) noexcept;
    CSubscription& operator=(CSubscription&& other) noexcept;
    CSubscription(const CSubscription&) = delete;
    CSubscription& operator=(const CSubscription&) = delete;

    void Cancel();
    // Whether the watcher is still in its list.
    bool Active() const;

private:
    std::weak_ptr<CList> m_list;
    uint64_t m_nId = 0;
};

// The watchers of one kind of news, each called with it as `const T&` (or as
// T itself for a view).
template <class T>
class CWatchers {
public:
    using Watcher = std::function<void(T)>;

    CWatchers() : m_list(std::make_shared<CEntries>()) {}
    CWatchers(const CWatchers&) = delete;
    CWatchers& operator=(const CWatchers&) = delete;

    [[nodiscard]] CSubscription Watch(Watcher watcher) {
        const uint64_t id = m_list->nNextId++;
        m_list->entries.push_back(std::make_shared<CEntry>(CEntry{id, std::move(watcher)}));
        return CSubscription(m_list, id);
    }
    // Calls every watcher with the news, oldest subscription first.
    void Notify(T news) const {
        if (m_list->entries.empty()) return;
        // A copy, so that watchers may come and go meanwhile; the entries stay
        // alive while they are called.
        const auto entries = m_list->entries;
        for (const auto& entry : entries) {
            if (entry->bActive) entry->watcher(news);
        }
    }
    size_t Count() const { return m_list->entries.size(); }
    // Removes every watcher; their subscriptions then remove nothing.
    void Clear() {
        for (auto& entry : m_list->entries) entry->bActive = false;
        m_list->entries.clear();
    }

private:
    struct CEntry {
        uint64_t nId;
        Watcher watcher;
        bool bActive = true;
    };
    struct CEntries : CSubscription::CList {
        std::vector<std::shared_ptr<CEntry>> entries;
        uint64_t nNextId = 1;  // never reused, so a stale subscription cannot hit a new watcher

        void Remove(uint64_t id) override {
            auto it = std::find_if(entries.begin(), entries.end(),
                                   [id](const auto& entry) { return entry->nId == id; });
            if (it == entries.end()) return;
            (*it)->bActive = false;
            entries.erase(it);
        }
        bool Has(uint64_t id) const override {
            return std::any_of(entries.begin(), entries.end(),
                               [id](const auto& entry) { return entry->nId == id; });
        }
    };

    std::shared_ptr<CEntries> m_list;
};

using CLineWatchers = CWatchers<std::string_view>;

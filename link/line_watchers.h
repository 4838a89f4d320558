// Any number of watchers of the lines on the link (the communication log, the
// command-line tool's --verbose, ...), each added and removed by its owner:
// Watch() hands back a subscription that removes the watcher when it goes.
//
// Used on the thread that owns the link only. A watcher may add or remove
// watchers, itself included, while it is being called; one removed that way
// is not called again, one added that way sees the next line first.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

class CLineWatchers;

// Owns one watcher's place in the list. Destroying or cancelling it removes
// the watcher; it outliving the list is harmless.
class CSubscription {
public:
    CSubscription() = default;
    ~CSubscription() { Cancel(); }
    CSubscription(CSubscription&& other) noexcept;
    CSubscription& operator=(CSubscription&& other) noexcept;
    CSubscription(const CSubscription&) = delete;
    CSubscription& operator=(const CSubscription&) = delete;

    void Cancel();
    // Whether the watcher is still in its list.
    bool Active() const;

private:
    friend class CLineWatchers;
    struct CList;
    CSubscription(std::weak_ptr<CList> list, uint64_t id) : m_list(std::move(list)), m_nId(id) {}

    std::weak_ptr<CList> m_list;
    uint64_t m_nId = 0;
};

class CLineWatchers {
public:
    using Watcher = std::function<void(std::string_view line)>;

    CLineWatchers();
    CLineWatchers(const CLineWatchers&) = delete;
    CLineWatchers& operator=(const CLineWatchers&) = delete;

    [[nodiscard]] CSubscription Watch(Watcher watcher);
    // Calls every watcher with the line, oldest subscription first.
    void Notify(std::string_view line) const;
    size_t Count() const;
    // Removes every watcher; their subscriptions then remove nothing.
    void Clear();

private:
    std::shared_ptr<CSubscription::CList> m_list;
};

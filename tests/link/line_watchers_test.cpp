#include "link/line_watchers.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace {

// Each watcher writes its tag and the line into one shared record.
class LineWatchersTest : public ::testing::Test {
protected:
    CLineWatchers::Watcher Record(const std::string& tag) {
        return
            [this, tag](std::string_view line) { seen.push_back(tag + ":" + std::string(line)); };
    }
    CLineWatchers watchers;
    std::vector<std::string> seen;
};

TEST_F(LineWatchersTest, EveryWatcherSeesEveryLineUntilItsOwnerRemovesIt) {
    CSubscription a = watchers.Watch(Record("a"));
    {
        CSubscription b = watchers.Watch(Record("b"));
        CSubscription c = watchers.Watch(Record("c"));
        c.Cancel();
        EXPECT_FALSE(c.Active());
        c.Cancel();  // twice is harmless
        watchers.Notify("1");
    }
    watchers.Notify("2");
    EXPECT_EQ(seen, (std::vector<std::string>{"a:1", "b:1", "a:2"}));
    EXPECT_TRUE(a.Active());
    EXPECT_EQ(watchers.Count(), 1u);
}

TEST_F(LineWatchersTest, AMovedSubscriptionKeepsTheWatcherAndTheOldOneRemovesNothing) {
    std::optional<CSubscription> first(watchers.Watch(Record("a")));
    CSubscription moved = std::move(*first);
    first.reset();
    watchers.Notify("1");
    EXPECT_TRUE(moved.Active());

    CSubscription other = watchers.Watch(Record("b"));
    moved = std::move(other);  // drops "a", takes over "b"
    watchers.Notify("2");
    EXPECT_EQ(seen, (std::vector<std::string>{"a:1", "b:2"}));
    EXPECT_EQ(watchers.Count(), 1u);
}

TEST_F(LineWatchersTest, WatchersMayComeAndGoWhileALineIsShown) {
    CSubscription self, other, added;
    self = watchers.Watch([&](std::string_view line) {
        seen.push_back("self:" + std::string(line));
        self.Cancel();                          // leaves while being called
        other.Cancel();                         // and takes a later one with it
        added = watchers.Watch(Record("new"));  // sees the next line, not this one
    });
    other = watchers.Watch(Record("other"));
    watchers.Notify("1");
    watchers.Notify("2");
    EXPECT_EQ(seen, (std::vector<std::string>{"self:1", "new:2"}));
}

TEST_F(LineWatchersTest, ClearLeavesSubscriptionsThatRemoveNothingLater) {
    CSubscription old = watchers.Watch(Record("old"));
    watchers.Clear();
    EXPECT_FALSE(old.Active());
    CSubscription fresh = watchers.Watch(Record("new"));
    old.Cancel();
    watchers.Notify("1");
    EXPECT_EQ(seen, (std::vector<std::string>{"new:1"}));
}

TEST(LineWatchersLifetimeTest, ASubscriptionMayOutliveItsList) {
    CSubscription kept;
    {
        CLineWatchers watchers;
        kept = watchers.Watch([](std::string_view) {});
        EXPECT_TRUE(kept.Active());
    }
    EXPECT_FALSE(kept.Active());
    kept.Cancel();
}

}  // namespace

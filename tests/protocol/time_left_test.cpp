#include "protocol/time_left.h"

#include <gtest/gtest.h>

namespace {

using std::chrono::microseconds;
using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

TEST(TimeLeftTest, RoundsUpAndIsZeroOnceTheTimeHasCome) {
    const Clock::time_point now{};
    EXPECT_EQ(MsUntil(now + milliseconds(3500), now), 3500);
    EXPECT_EQ(MsUntil(now + microseconds(1), now), 1);  // never a wake-up just before
    EXPECT_EQ(MsUntil(now + microseconds(2001), now), 3);
    EXPECT_EQ(MsUntil(now, now), 0);
    EXPECT_EQ(MsUntil(now - milliseconds(5), now), 0);
    EXPECT_EQ(MsUntil(now + std::chrono::hours(24 * 365), now), INT_MAX);  // poll() takes an int
}

}  // namespace

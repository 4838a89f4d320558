// Milliseconds until a time, for poll() and timers: rounded up, so that a wait
// never ends before the time is due; 0 once it has come.
#pragma once

#include <algorithm>
#include <chrono>
#include <climits>

template <class Clock, class Duration>
int MsUntil(std::chrono::time_point<Clock, Duration> when,
            std::chrono::time_point<Clock, Duration> now) {
    if (when <= now) return 0;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(when - now).count();
    return static_cast<int>(std::min<long long>(ms, INT_MAX));
}

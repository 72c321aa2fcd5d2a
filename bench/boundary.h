// The floors' wait: how long to sleep so as to wake a millisecond past the
// next boundary of local time (each second, or each minute with a period of
// 60), never just before it.
#pragma once

#include <ctime>

// offset: local time's offset from UTC, in seconds, as it was at the start.
inline int millisecondsToBoundary(long period, long offset)
{
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const long intoPeriod = ((now.tv_sec + offset) % period + period) % period;
    const long intoPeriodMs = intoPeriod * 1000 + now.tv_nsec / 1000000;
    return static_cast<int>(period * 1000 - intoPeriodMs + 1);
}

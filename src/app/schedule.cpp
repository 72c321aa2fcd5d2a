// The wake schedule. A tick redraws only on the update interval's redraw
// seconds and checks the alarms against the time record of the last redraw,
// so between two such seconds nothing can change; of those seconds, only the
// ones at which the picture or an alarm can change need a wake-up.
#include "app/schedule.h"

#include <limits>

static const time_t LATEST = std::numeric_limits<time_t>::max();

// Seconds from lastRedraw to the first redraw second after reading: a whole
// number of intervals, at least one. Saturates instead of overflowing.
static int64_t redrawOffsetAfter(time_t reading, time_t lastRedraw, int64_t interval)
{
    uint64_t steps = 1;
    if (reading >= lastRedraw)
        steps = (static_cast<uint64_t>(reading) - static_cast<uint64_t>(lastRedraw)) /
                    static_cast<uint64_t>(interval) + 1;
    int64_t offset;
    if (steps > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()) ||
        __builtin_mul_overflow(static_cast<int64_t>(steps), interval, &offset))
        return std::numeric_limits<int64_t>::max();
    return offset;
}

static time_t secondAt(time_t lastRedraw, int64_t offset)
{
    time_t second;
    return __builtin_add_overflow(lastRedraw, offset, &second) ? LATEST : second;
}

// Whether a check of a time record showing second `second` of an alarm's
// hour and minute changes that alarm: it fires, or it is armed again.
static bool alarmChangesAt(const AlarmEntry &alarm, int second)
{
    return alarm.fired ? alarm.second != second : alarm.second == second;
}

time_t nextTickSecond(time_t reading, time_t lastRedraw, int64_t updateInterval,
                      bool secondHand, const struct tm *shown, AlarmEntry *const *alarms,
                      int alarmCount)
{
    const int64_t interval = updateInterval < 1 ? 1 : updateInterval;
    int64_t offset = redrawOffsetAfter(reading, lastRedraw, interval);
    // With a second hand every redraw moves it. Without a usable record of
    // what is shown, nothing can be ruled out either.
    if (secondHand || !shown)
        return secondAt(lastRedraw, offset);

    // The redraw seconds left in the minute shown keep the record's hour and
    // minute, with a second that the arithmetic gives, so only alarms of that
    // minute can match them. A leap second (tm_sec 60) counts as the
    // minute's last second.
    const int shownSecond = shown->tm_sec < 59 ? shown->tm_sec : 59;
    const int64_t untilNextMinute = 60 - shownSecond;
    for (; offset < untilNextMinute; offset += interval) {
        const int recordSecond = shownSecond + static_cast<int>(offset);
        for (int i = 0; i < alarmCount; i++) {
            const AlarmEntry &alarm = *alarms[i];
            if (alarm.hour == shown->tm_hour && alarm.minute == shown->tm_min &&
                alarmChangesAt(alarm, recordSecond))
                return secondAt(lastRedraw, offset);
        }
    }
    // Otherwise the first redraw second of a later minute: the minute and
    // hour hands, the indicators and the date change only with the minute.
    return secondAt(lastRedraw, offset);
}

int tickWaitMilliseconds(const struct timespec &now, time_t reading, time_t dueSecond,
                         int marginMs, int capMs)
{
    const long nsPerMs = 1000000L;
    // The clock read another second than the one now running: time() reads
    // a coarse copy of the same clock that flips to the new second up to
    // one timer tick (a few ms) late, or a command held the loop across the
    // change, or the clock was set. Read it again at once rather than sleep
    // on a stale reading; the two agree again within a timer tick.
    if (now.tv_sec != reading)
        return 1;
    if (dueSecond <= reading)
        return 0;
    long nanoseconds = now.tv_nsec;
    if (nanoseconds < 0)
        nanoseconds = 0;
    if (nanoseconds > 999999999L)
        nanoseconds = 999999999L;
    // Rounded up, so the wake-up never lands before the boundary.
    const int64_t untilNextSecond = (1000000000L - nanoseconds + nsPerMs - 1) / nsPerMs;
    // Exact for any two readings: dueSecond lies after reading.
    const uint64_t wholeSeconds =
        static_cast<uint64_t>(dueSecond) - static_cast<uint64_t>(reading) - 1;
    if (wholeSeconds > static_cast<uint64_t>(capMs) / 1000)
        return capMs;
    const int64_t wait = static_cast<int64_t>(wholeSeconds) * 1000 + untilNextSecond + marginMs;
    return wait < capMs ? static_cast<int>(wait) : capMs;
}

// The wake schedule: at which second the next tick can change anything the
// clock shows or does, and how long the loop may sleep until then. Pure
// arithmetic on its arguments; no clock is read and no server is asked.
#pragma once

#include "settings/settings.h"

#include <cstdint>
#include <ctime>

// The earliest second after reading at which a tick can change the picture
// or an alarm, given the last redraw (its second, and shown, the time record
// it drew, or null) and the update interval. Only the interval's redraw
// seconds count (lastRedraw plus a whole number of intervals), so waking
// there keeps their phase:
// - with the second hand, the next of them;
// - without it, the first one in the next minute shown (the minute and hour
//   hands, the indicators and the date change only with the minute), or
//   before it the first at which an alarm of the minute shown fires, or at
//   which an alarm that has fired is armed again.
time_t nextTickSecond(time_t reading, time_t lastRedraw, int64_t updateInterval,
                      bool secondHand, const struct tm *shown, AlarmEntry *const *alarms,
                      int alarmCount);

// How long the loop may wait for input, in milliseconds, before the tick due
// at dueSecond, given the real-time clock now and a fresh reading of the
// clock: until marginMs past the start of dueSecond, and never more than
// capMs. When the clock reads another second than the real-time clock
// shows (time() trails it by up to one timer tick; a command may have held
// the loop across the change; the clock was set), only 1 ms, so that the
// clock is read again at once.
int tickWaitMilliseconds(const struct timespec &now, time_t reading, time_t dueSecond,
                         int marginMs, int capMs);

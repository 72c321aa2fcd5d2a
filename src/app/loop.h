// The tick loop: redraw when the second (and the update interval) has moved
// on, run the alarm check, drain events, and refresh the windows.
#pragma once

#include <ctime>

// A tick now: the redraw when the second (and the update interval) has
// moved on, the alarms, then the input (readable false: the wait saw none
// arrive, so the connection is not read).
void tick(bool readable = true);
// The time shown and the hands for currentTime, composed on framePixmap.
void redraw();
void presentFrame();
// The first frame, once the screen is set up: fixes the hands' shape and
// lets the screen compose and show the frame for the time now.
void showFirstFrame();

// The second at which the next tick is due (nextTickSecond's answer after
// the last tick); before it the loop only serves input.
extern time_t nextTickTime;
// The descriptor that becomes readable when the system clock is set (a
// timer descriptor set up by startLoop), or -1 where there is none.
extern int clockChangeFd;
// The descriptor that becomes readable when the system's time zone file
// changes (a watch set up by startLoop when TZ does not name the zone), or
// -1 where there is none; the zone is then read again once a minute.
extern int zoneChangeFd;

// Prepares the loop once the first frame is shown: no graphics exposures,
// the clock-change and zone-change notices, the first tick at the next
// second.
void startLoop();
// One pass: the screen sends what was drawn, the wait (unless the screen
// says input may already be queued), then serveWakeUp.
void loopPass();
// What a wake-up does: a tick when one is due (or the clock was set), then
// the next due second; otherwise only the input and the refresh.
void serveWakeUp(bool readable = true);
// startLoop, then loopPass for ever; does not return.
[[noreturn]] void runMainLoop();

// The tick loop: redraw when the second (and the update interval) has moved
// on, run the alarm check, drain events, and refresh the windows.
#pragma once

#include <ctime>

void tick();
// The time shown and the hands for currentTime, composed on framePixmap.
void redraw();
void presentFrame();
// The first frame, once setupDisplay has built everything: fixes the hands'
// shape, composes the frame for the time now over a copy of the face, waits
// for the first event (the Expose of the mapping) and shows the frame.
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
// One pass: send what was drawn, wait unless events may already be queued,
// then serveWakeUp.
void loopPass();
// What a wake-up does: a tick when one is due (or the clock was set), then
// the next due second; otherwise only the events and the refresh.
void serveWakeUp();
// startLoop, then loopPass for ever; does not return.
[[noreturn]] void runMainLoop();

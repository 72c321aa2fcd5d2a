// The tick loop: redraw when the second (and the update interval) has moved
// on, run the alarm check, drain events, and refresh the windows.
#pragma once

#include <ctime>

extern time_t currentTime;      // clock reading of the current tick
extern time_t lastRedrawTime;   // clock reading of the last redraw
extern int redrawPending;       // frames or exposures not yet copied

// Where the wall clock is read; time() unless a caller points it elsewhere.
extern time_t (*clockSource)(time_t *);

void tick();
void redraw();
void presentFrame();

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

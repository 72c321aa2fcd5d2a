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

// How long the idle loop may wait for input, in milliseconds, given the
// real-time clock now and the second the last tick read (currentTime):
// until marginMs past the next whole second, and never more than 1000 plus
// marginMs. When the tick read another second than the real-time clock
// shows (time() trails it by up to one timer tick; a command may have held
// the tick across the change), only 1 ms, so the tick is retried at once.
int tickWaitMilliseconds(const struct timespec &now, time_t tickSecond, int marginMs);

// Runs tick for ever; does not return.
[[noreturn]] void runMainLoop();

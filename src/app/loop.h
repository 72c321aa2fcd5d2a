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

// Runs tick for ever; does not return.
[[noreturn]] void runMainLoop();

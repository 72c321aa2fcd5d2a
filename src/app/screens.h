// The screen the clock is shown on, as the loop sees it: the X display or
// the Wayland tile. Each is one table of steps; the loop runs the same
// schedule, alarms and commands over either.
#pragma once

#include "interaction/events.h"

#include <ctime>

struct ClockScreen {
    void (*prepareLoop)();                         // once, between the first frame and the loop
    void (*composeFrame)(const struct tm &shown);  // hands and frame for the time shown, off-screen
    void (*presentFrame)();                        // the finished frame onto the screen
    int (*connectionFd)();                         // what the wait watches for input
    bool (*sendRequests)();                        // true: more to send once the socket takes it
    bool (*eventsQueued)();                        // events may wait where the wait cannot see them
    void (*afterWait)(bool readable);              // the wait is over; readable: input came
    EventOutcome (*serveEvents)(bool readable);    // what the input asks of the loop
    void (*quit)();                                // the screen closed: let go of it, exit 0
};

extern const ClockScreen xScreen;

// The screen in use: xScreen unless the clock was started on Wayland.
extern const ClockScreen *screen;

// Sets the clock up on the Wayland display instead of X: the window size,
// the frame drawn by the client, the tile; screen becomes the tile's.
// Ends the clock (status 1) where it cannot, the module included.
void setupWaylandScreen();

// The tile module's entry: sets the tile up and returns its steps.
extern "C" const ClockScreen *tavockWaylandTile();

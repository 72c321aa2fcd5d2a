// The screen the clock is shown on, as the loop sees it: the X display or
// the Wayland tile, each one table of steps. The loop runs the same
// schedule, alarms and commands over either; each screen owns how it
// draws, sends and reads.
#pragma once

#include <ctime>

// What the input asked of the loop.
struct EventOutcome {
    int exposures;        // completed exposures: the screen wants the frame again
    bool redrawNeeded;    // the frame must be drawn anew first (a new buffer scale)
    bool closeRequested;  // the window manager or compositor closed the clock
};

// What the loop's wait is to do after the screen has sent what was drawn.
enum WaitPlan {
    WAIT_FOR_INPUT,    // sleep until input, a tick or a clock change
    WAIT_FOR_WRITING,  // the same, and until the connection takes more
    SKIP_WAIT,         // input may be waiting where the wait cannot see it: serve it now
};

struct ClockScreen {
    // The first frame for the time now, once the screen is set up: draw
    // composes it (after whatever the screen puts on the frame first), and
    // the screen shows it when it can be seen.
    void (*firstFrame)(void (*draw)());
    void (*prepareLoop)();                         // once, between the first frame and the loop
    void (*composeFrame)(const struct tm &shown);  // hands and frame for the time shown, off-screen
    void (*presentFrame)();                        // the finished frame onto the screen
    int (*connectionFd)();                         // what the wait watches for input
    WaitPlan (*beforeWait)();                      // send what was drawn; how to wait
    // After the wait (or its skip; readable: input came): read the input
    // or give the read up, serve it, and say what it asks of the loop.
    EventOutcome (*afterWait)(bool readable);
    void (*quit)();                                // the screen closed: let go of it, exit 0
};

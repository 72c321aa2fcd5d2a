// X events: a click runs the command, an exposure asks for a refresh, the
// window manager's close request ends the clock.
#pragma once

// What the events asked of the loop.
struct EventOutcome {
    int exposures;        // completed exposures: the screen wants the frame again
    bool redrawNeeded;    // the frame must be drawn anew first (a new buffer scale)
    bool closeRequested;  // the window manager or compositor closed the clock
};

// Serves every queued event, up to a close request (the events after it no
// longer matter). readConnection false: only those Xlib has already queued,
// without reading the connection (the loop's wait saw nothing arrive there).
EventOutcome handleEvents(bool readConnection = true);

// What a click does, on either screen: the click command, through the shell.
void runClickCommand();

// Closes the display and ends the process with status 0.
[[noreturn]] void quit();

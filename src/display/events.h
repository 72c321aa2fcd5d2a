// The X screen's steps for the loop, and its events: a click runs the
// command, an exposure asks for a refresh, the window manager's close
// request ends the clock.
#pragma once

#include "interaction/screen.h"

// Serves every queued event, up to a close request (the events after it no
// longer matter). readConnection false: only those Xlib has already queued,
// without reading the connection (the loop's wait saw nothing arrive there).
EventOutcome handleEvents(bool readConnection = true);

// Closes the display and ends the process with status 0.
[[noreturn]] void quit();

extern const ClockScreen xScreen;

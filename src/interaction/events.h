// X events: a click runs the command, an exposure asks for a refresh, the
// window manager's close request ends the clock.
#pragma once

// Serves every queued event. readConnection false: only those Xlib has
// already queued, without reading the connection (the loop's wait saw
// nothing arrive there).
void handleEvents(bool readConnection = true);
[[noreturn]] void quit();

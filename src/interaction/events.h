// X events: a click runs the command, an exposure asks for a refresh, the
// window manager's close request ends the clock.
#pragma once

void handleEvents();
[[noreturn]] void quit();

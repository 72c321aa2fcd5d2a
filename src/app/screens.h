// Which screen the clock is shown on, and setting it up.
#pragma once

#include "interaction/screen.h"

// The screen in use: the X display's unless the clock was set up on Wayland.
extern const ClockScreen *screen;

// Sets the clock up on the Wayland display (wayland true: the tile module,
// which draws the frame itself) or on X; screen becomes that screen's. On
// Wayland a missing module ends the clock with status 1.
void setupScreen(bool wayland, int argc, char **argv);

// The Wayland tile module's one entry, which the program looks up by name.
#pragma once

#include "canvas/font/labelfont.h"
#include "interaction/screen.h"

// Sets the tile up (the window size, the client-side frame with its label
// measured and drawn by labelText, the connection and the layer surface)
// and returns its steps. A failure ends the clock with its line.
extern "C" const ClockScreen *tavockWaylandTile(LabelTextCall labelText);
typedef const ClockScreen *(*WaylandTileEntry)(LabelTextCall labelText);

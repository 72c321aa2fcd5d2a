// The Wayland tile module's one entry, which the program looks up by name.
#pragma once

#include "canvas/font/labelfont.h"
#include "interaction/screen.h"

// The tile's frame before any connection: the window size from the
// geometry, -scale fitted, the client-side frame with its label measured
// and drawn by labelText. False when a sprite sheet cannot be made (its
// line printed).
bool setupTileFrame(LabelTextCall labelText);

// The tile's steps for the loop.
extern const ClockScreen waylandScreen;

// Sets the tile up (setupTileFrame, then the connection and the layer
// surface) and returns its steps. A failure ends the clock with its line.
extern "C" const ClockScreen *tavockWaylandTile(LabelTextCall labelText);
typedef const ClockScreen *(*WaylandTileEntry)(LabelTextCall labelText);

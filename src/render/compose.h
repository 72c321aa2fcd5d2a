// composeFrame: face, indicators, hands and label onto one drawable. The
// windows are not touched here; the finished frame is copied later.
#pragma once

#include <X11/Xlib.h>

// Needs the local time and hand geometry of this frame: callers run it only
// after computeHandGeometry succeeded (redraw skips the frame otherwise).
void composeFrame(Drawable target);

// Line widths in whole pixels for hand 0 (second), 1 (minute) or 2 (hour)
// on a dial of radii rx, ry. 0 asks the server for its thin line.
int strokeWidth(int hand, int thinSeconds, unsigned int handThickness, int rx, int ry);
int outlineWidth(int hand, unsigned int outThickness, int rx, int ry);

// composeFrame: face, indicators, hands and label onto one drawable. The
// windows are not touched here; the finished frame is copied later.
#pragma once

#include "render/geometry.h"

#include <X11/Xlib.h>
#include <ctime>

// The dial the hands are computed on: the clock's own, or the magnified one
// when smooth hands are drawn at the window's resolution.
Dial handDial();

// The frame for the time shown, with handGeometry computed for it on
// handDial().
void composeFrame(Drawable target, const struct tm &shown);

// composeFrame: face, indicators, hands and label onto one drawable. The
// windows are not touched here; the finished frame is copied later.
#pragma once

#include <X11/Xlib.h>
#include <ctime>

// The frame for the time shown, with handGeometry computed for it on
// handDial(settings.scale).
void composeFrame(Drawable target, const struct tm &shown);

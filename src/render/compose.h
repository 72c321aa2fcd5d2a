// composeFrame: face, indicators, hands and label onto one drawable.
#pragma once

#include <X11/Xlib.h>

void composeFrame(Drawable target);

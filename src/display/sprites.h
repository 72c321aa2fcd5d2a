// The four built-in indicator images (day, AM/PM, digits, months) and their
// conversion to pixmaps of the screen's depth.
#pragma once

#include <X11/Xlib.h>
#include <X11/xpm.h>

struct SpriteSheet {
    char **image;              // header, two colour lines, pixel rows
    Pixmap pixmap;             // the converted image
    Pixmap shapeMask;          // returned by libXpm, never read
    XpmAttributes attributes;  // pixels and extensions kept for the run
};

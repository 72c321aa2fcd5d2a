// The indicator sheets as pixmaps of the screen's depth: the sheet table's
// lines coloured from the settings and converted by libXpm on the server.
#pragma once

#include "render/indicators.h"

#include <X11/Xlib.h>
#include <X11/xpm.h>

struct SpriteSheet {
    char **image;              // header, two colour lines, pixel rows
    Pixmap pixmap;             // the converted image
    Pixmap shapeMask;          // returned by libXpm, never read
    XpmAttributes attributes;  // pixels and extensions kept for the run
};

// Colours the sheet of the given kind (DAY_SHEET ... MONTH_SHEET) with the
// background and ink colour texts and converts it with libXpm. Returns
// libXpm's status (0 is success).
int createSpriteSheet(Display *display, Window root, SpriteSheet &sheet, int kind,
                      const char *backgroundColor, const char *inkColor);

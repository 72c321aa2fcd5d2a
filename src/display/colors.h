// Colour texts to pixels allocated on the X server, and the darker and
// lighter shades of them. Reports failures on standard output and carries on.
#pragma once

#include "render/shades.h"

#include <X11/Xlib.h>

// The one buffer every shade text is written to; each shade call overwrites it.
extern char shadeText[64];

unsigned long colorPixel(const char *colour, Display *display, Window window);
char *darkerColor(const char *colour, Display *display, Window window, float factor);
char *lighterColor(const char *colour, Display *display, Window window, float factor);
unsigned long darkerPixel(const char *colour, Display *display, Window window, float factor);
unsigned long lighterPixel(const char *colour, Display *display, Window window, float factor);

// The three above on the clock's display and root window, for the rules
// of render/shades.h.
extern const PixelSource serverPixels;

// Colour texts to pixels, and the darker and lighter shades used by the
// bevel and the hands. Reports failures on standard output and carries on.
#pragma once

#include <X11/Xlib.h>

// The one buffer every shade text is written to; each shade call overwrites it.
extern char shadeText[64];

unsigned long colorPixel(const char *colour, Display *display, Window window);
char *darkerColor(const char *colour, Display *display, Window window, float factor);
char *lighterColor(const char *colour, Display *display, Window window, float factor);
unsigned long darkerPixel(const char *colour, Display *display, Window window, float factor);
unsigned long lighterPixel(const char *colour, Display *display, Window window, float factor);

// The shade arithmetic on one 8-bit component, in single precision.
unsigned int darkerComponent(unsigned int value, float factor);
unsigned int lighterComponent(unsigned int value, float factor);

// Formats the shade of 16-bit components into text (at least 64 bytes) as
// "#rrggbb": each component reduced to 8 bits, then darkened or lightened.
void formatShade(char *text, unsigned short red, unsigned short green, unsigned short blue,
                 float factor, bool lighter);

// One way of turning colour texts into pixels: allocated on the X server,
// or worked out locally for a frame the client draws.
struct PixelSource {
    unsigned long (*plain)(const char *colour);
    unsigned long (*darker)(const char *colour, float factor);
    unsigned long (*lighter)(const char *colour, float factor);
};

// The hands' stroke, outline and fill pixels for the settings, each colour
// taken in the order the X clock allocates them (so that the messages of
// bad colours come in that order too): neon strokes darker, plain outlines
// lighter, then the outline and fill overrides.
void handPixels(const PixelSource &source, unsigned long stroke[3], unsigned long outline[3],
                unsigned long fill[3]);

// The colours both screens derive from the settings: the darker and
// lighter shades of the bevel and the hands, and which colour each hand
// layer takes. How a colour text becomes a pixel is the screen's (allocated
// on the X server, or worked out by the client).
#pragma once

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
// pixels is indexed by layer (render/layers.h), then hand.
void handPixels(const PixelSource &source, unsigned long pixels[][3]);

// The bevel's shade of the background for its first edges (edge 0: top
// and left) or its second (1: right and bottom): the lighter shade first
// and the darker second, swapped by pushedIn. The X clock allocates the
// second only after the first edges are drawn.
unsigned long bevelPixel(const PixelSource &source, int pushedIn, int edge);

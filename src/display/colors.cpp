// colorPixel and the shades of colours allocated on the X server.
#include "display/colors.h"

#include "display/setup.h"
#include "render/shades.h"

#include <cstdio>

char shadeText[64];

// Steps shared by every colour operation: parse, then allocate in the
// window's colormap. On a parse failure color is left as it was; on an
// allocation failure it keeps the parsed components.
static bool allocateColor(const char *colour, Display *display, Window window, XColor *color)
{
    XWindowAttributes attributes;
    XGetWindowAttributes(display, window, &attributes);
    if (!XParseColor(display, attributes.colormap, colour, color)) {
        color->red = color->green = color->blue = 0;
        std::printf("tavock: can't parse %s\n", colour);
        std::fflush(stdout);  // the clock may be killed long before exit flushes
        return false;
    }
    if (!XAllocColor(display, attributes.colormap, color)) {
        std::printf("tavock: can't allocate %s\n", colour);
        std::fflush(stdout);
        return false;
    }
    return true;
}

unsigned long colorPixel(const char *colour, Display *display, Window window)
{
    XColor color = {};
    if (!allocateColor(colour, display, window, &color))
        return 0;
    return color.pixel;
}

static char *shadeColor(const char *colour, Display *display, Window window, float factor,
                        bool lighter)
{
    // A text that does not parse shades black (components 0): the callers
    // still get a valid six-digit text, and the failure has been reported.
    XColor color = {};
    allocateColor(colour, display, window, &color);
    formatShade(shadeText, color.red, color.green, color.blue, factor, lighter);
    return shadeText;
}

char *darkerColor(const char *colour, Display *display, Window window, float factor)
{
    return shadeColor(colour, display, window, factor, false);
}

char *lighterColor(const char *colour, Display *display, Window window, float factor)
{
    return shadeColor(colour, display, window, factor, true);
}

unsigned long darkerPixel(const char *colour, Display *display, Window window, float factor)
{
    return colorPixel(darkerColor(colour, display, window, factor), display, window);
}

unsigned long lighterPixel(const char *colour, Display *display, Window window, float factor)
{
    return colorPixel(lighterColor(colour, display, window, factor), display, window);
}

static unsigned long serverPixel(const char *colour)
{
    return colorPixel(colour, clockDisplay.display, clockDisplay.rootWindow);
}

static unsigned long serverDarker(const char *colour, float factor)
{
    return darkerPixel(colour, clockDisplay.display, clockDisplay.rootWindow, factor);
}

static unsigned long serverLighter(const char *colour, float factor)
{
    return lighterPixel(colour, clockDisplay.display, clockDisplay.rootWindow, factor);
}

const PixelSource serverPixels = {serverPixel, serverDarker, serverLighter};

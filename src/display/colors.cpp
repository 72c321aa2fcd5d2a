// colorPixel and the shade operations. Shades are computed on 8-bit values
// in single precision, as the bevel and hand tones depend on it (8 / 1.6
// gives 5, 5 * 1.8 gives 9; double precision would give 4 and 8).
#include "display/colors.h"

#include "settings/settings.h"

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

unsigned int darkerComponent(unsigned int value, float factor)
{
    // Factors below 1 would lighten and could overflow two hex digits; the
    // clock only uses 1.6 and 1.8, so a smaller factor is taken as 1.
    if (!(factor >= 1.0f))
        factor = 1.0f;
    float shade = static_cast<float>(value) / factor;  // single precision on purpose
    return static_cast<unsigned short>(static_cast<int>(shade));
}

unsigned int lighterComponent(unsigned int value, float factor)
{
    float shade = static_cast<float>(value) * factor;  // single precision on purpose
    // Clamped before the conversion, so a huge factor cannot wrap back to a
    // dark value through the low 16 bits; negative factors give black.
    if (shade > 255.0f)
        return 255;
    if (!(shade > 0.0f))
        return 0;
    return static_cast<unsigned short>(static_cast<int>(shade));
}

void formatShade(char *text, unsigned short red, unsigned short green, unsigned short blue,
                 float factor, bool lighter)
{
    unsigned int c[3] = {red / 257u, green / 257u, blue / 257u};
    for (unsigned int &v : c)
        v = lighter ? lighterComponent(v, factor) : darkerComponent(v, factor);
    std::snprintf(text, 64, "#%.2x%.2x%.2x", c[0], c[1], c[2]);
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

void handPixels(const PixelSource &source, unsigned long stroke[3], unsigned long outline[3],
                unsigned long fill[3])
{
    const char *colours[3] = {settings.secondColor, settings.minuteColor, settings.hourColor};
    const char *outColours[3] = {settings.secondOutColor, settings.minuteOutColor,
                                 settings.hourOutColor};
    const char *fillColours[3] = {settings.secondFillColor, settings.minuteFillColor,
                                  settings.hourFillColor};
    for (int i = 0; i < 3; i++)
        stroke[i] = settings.neonHands ? source.darker(colours[i], 1.8f) : source.plain(colours[i]);
    for (int i = 0; i < 3; i++)
        outline[i] = settings.neonHands ? source.plain(colours[i])
                                        : source.lighter(colours[i], 1.8f);
    for (int i = 0; i < 3; i++)
        if (overrideGiven(outColours[i]))
            outline[i] = source.plain(outColours[i]);
    for (int i = 0; i < 3; i++)
        fill[i] = stroke[i];
    for (int i = 0; i < 3; i++)
        if (overrideGiven(fillColours[i]))
            fill[i] = source.plain(fillColours[i]);
}

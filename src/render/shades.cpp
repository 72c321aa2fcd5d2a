// Shades and the hands' colours. Shades are computed on 8-bit values in
// single precision, as the bevel and hand tones depend on it (8 / 1.6 gives
// 5, 5 * 1.8 gives 9; double precision would give 4 and 8).
#include "render/shades.h"

#include "render/layers.h"

#include "settings/settings.h"

#include <cstdio>

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

void handPixels(const PixelSource &source, unsigned long pixels[][3])
{
    unsigned long *stroke = pixels[STROKE_LAYER], *outline = pixels[OUTLINE_LAYER];
    unsigned long *fill = pixels[FILL_LAYER];
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

unsigned long bevelPixel(const PixelSource &source, int pushedIn, int edge)
{
    bool darker = (edge == 0) == (pushedIn != 0);
    return darker ? source.darker(settings.background, 1.6f)
                  : source.lighter(settings.background, 2.0f);
}

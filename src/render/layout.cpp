// The clock's layout: dial and label placement, tick points (computed like
// the hands: single-precision products, rintf, so the ring lines up with
// the hand tips pixel for pixel), the geometry's size and scale fitting.
#include "render/layout.h"

#include "clock/dial.h"
#include "settings/settings.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <cmath>
#include <cstdio>

DialLayout clockLayout;

DialLayout dialLayout(int width, int height, int drawDayDate, int labelOn, int labelTop,
                      int labelHeight, int labelWidth)
{
    DialLayout l = {};
    l.centerX = width / 2;
    l.radiusX = width / 2 - 3;
    // The date row at the bottom takes room from the dial.
    l.centerY = drawDayDate ? height / 2 - 4 : height / 2;
    l.radiusY = drawDayDate ? height / 2 - 7 : height / 2 - 3;
    if (labelOn) {
        if (labelTop)
            l.centerY += labelHeight / 2 + 1;
        else
            l.centerY -= labelHeight / 2;
        l.radiusY -= labelHeight / 2 + 1;
        l.labelX = width / 2 - labelWidth / 2;
        if (labelTop)
            l.labelY = labelHeight;
        else
            l.labelY = drawDayDate ? height - 10 : height - 3;
    }
    return l;
}

int tickPoints(int cx, int cy, int rx, int ry, unsigned int drawTicks, TickPoint *points)
{
    int n = 0;
    if (drawTicks == 0)
        return 0;
    int step = drawTicks == 1 ? 5 : 1;
    // The ring lies one pixel outside the dial radii.
    float ringX = static_cast<float>(rx + 1);
    float ringY = static_cast<float>(ry + 1);
    for (int i = 0; i < 60; i += step) {
        float c, s;
        dialDirection(i, &c, &s);
        // rintf: 12.5 must round to 12, so i = 5 lands on (39, 5), not (40, 5).
        int x = cx + static_cast<int>(rintf(ringX * c));
        int y = cy + static_cast<int>(rintf(ringY * s));
        points[n++] = {x, y};
        if (i % 5 == 0 && drawTicks == 2) {
            points[n++] = {x, y + 1};
            points[n++] = {x + 1, y};
            points[n++] = {x, y - 1};
            points[n++] = {x - 1, y};
        }
    }
    if (drawTicks == 1) {
        // Quarter marks: with the ring point, a bar across the ring plus
        // one pixel towards the centre. Order: 9, 3, 12, 6 o'clock.
        const TickPoint wedges[12] = {
            {cx - rx - 1, cy - 1}, {cx - rx - 1, cy + 1}, {cx - rx, cy},
            {cx + rx + 1, cy - 1}, {cx + rx + 1, cy + 1}, {cx + rx, cy},
            {cx - 1, cy - ry - 1}, {cx + 1, cy - ry - 1}, {cx, cy - ry},
            {cx - 1, cy + ry + 1}, {cx + 1, cy + ry + 1}, {cx, cy + ry},
        };
        for (const TickPoint &p : wedges)
            points[n++] = p;
    }
    return n;
}

int windowSizeFromGeometry(const char *geometry, unsigned int *width, unsigned int *height)
{
    if (!geometry || !*geometry)
        return 0;
    int x, y;
    unsigned int w = 0, h = 0;
    int mask = XParseGeometry(geometry, &x, &y, &w, &h);
    // A side of 0 or one beyond 16-bit coordinates would make the server
    // refuse the pixmaps or windows; such a side keeps the size it had.
    if ((mask & WidthValue) && w >= 1 && w <= MAX_WINDOW_SIDE)
        *width = w;
    if ((mask & HeightValue) && h >= 1 && h <= MAX_WINDOW_SIDE)
        *height = h;
    return mask;
}

int fittingScale(unsigned int width, unsigned int height, int scale)
{
    unsigned int side = width > height ? width : height;
    while (scale > 1 && side * static_cast<unsigned int>(scale) > MAX_WINDOW_SIDE)
        scale--;
    return scale < 1 ? 1 : scale;
}

int fitScaleTo(unsigned int width, unsigned int height, int asked, int step)
{
    int fitting = fittingScale(width, height, asked);
    fitting -= fitting % step;
    if (fitting < step)
        fitting = step;
    if (fitting < asked)
        std::fprintf(stderr, "tavock: a %ux%u clock at scale %d would be larger than %d pixels, "
                     "drawing at scale %d\n", width, height, asked,
                     static_cast<int>(MAX_WINDOW_SIDE), fitting);
    return fitting;
}

void fitScale()
{
    if (settings.scale < 1)
        settings.scale = 1;
    settings.scale = fitScaleTo(settings.windowWidth, settings.windowHeight, settings.scale, 1);
}

void reportLabelFontFailure(const char *font)
{
    std::printf("tavock : failed to load font %s\n", font);
    std::printf("tavock : warning : the label will not be drawn\n");
    std::fflush(stdout);
}

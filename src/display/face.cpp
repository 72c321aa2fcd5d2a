// Background fill, bevel and tick marks of the dial face. The tick ring is
// computed like the hands (single-precision products, rintf), so its points
// line up with the hand tips pixel for pixel.
#include "display/face.h"

#include "clock/dial.h"
#include "display/colors.h"
#include "display/setup.h"
#include "settings/settings.h"

#include <cmath>

static void setForeground(unsigned long pixel)
{
    clockDisplay.gcValues.foreground = pixel;
    XChangeGC(clockDisplay.display, clockDisplay.gc, GCForeground, &clockDisplay.gcValues);
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

void fillBackground()
{
    setForeground(clockDisplay.backgroundPixel);
    XFillRectangle(clockDisplay.display, clockDisplay.facePixmap, clockDisplay.gc, 0, 0,
                   settings.windowWidth, settings.windowHeight);
}

void drawBevel(int pushedIn)
{
    Display *d = clockDisplay.display;
    Window root = clockDisplay.rootWindow;
    Pixmap face = clockDisplay.facePixmap;
    int w = static_cast<int>(settings.windowWidth);
    int h = static_cast<int>(settings.windowHeight);

    // Sunken by default: dark top and left, light right and bottom.
    setForeground(pushedIn ? darkerPixel(settings.background, d, root, 1.6f)
                           : lighterPixel(settings.background, d, root, 2.0f));
    XDrawLine(d, face, clockDisplay.gc, 0, 0, w - 1, 0);
    XDrawLine(d, face, clockDisplay.gc, 0, 0, 0, h - 1);

    // The second shade is allocated only after the first two lines are out.
    setForeground(pushedIn ? lighterPixel(settings.background, d, root, 2.0f)
                           : darkerPixel(settings.background, d, root, 1.6f));
    // Both lines start one pixel outside the pixmap (y = H, x = W); the
    // server clips the outside pixel, so the edges still end at the corner.
    XDrawLine(d, face, clockDisplay.gc, w - 1, h, w - 1, 0);
    XDrawLine(d, face, clockDisplay.gc, w, h - 1, 0, h - 1);
}

void drawTickMarks()
{
    setForeground(clockDisplay.foregroundPixel);
    TickPoint points[MAX_TICK_POINTS];
    int n = tickPoints(clockDisplay.dialCenterX, clockDisplay.dialCenterY,
                       clockDisplay.dialRadiusX, clockDisplay.dialRadiusY, settings.drawTicks,
                       points);
    for (int i = 0; i < n; i++)
        XDrawPoint(clockDisplay.display, clockDisplay.facePixmap, clockDisplay.gc, points[i].x,
                   points[i].y);
}

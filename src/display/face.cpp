// Background fill, bevel and tick marks of the dial face, drawn with core
// requests on the face pixmap.
#include "display/face.h"

#include "display/colors.h"
#include "display/setup.h"
#include "render/layout.h"
#include "settings/settings.h"

static void setForeground(unsigned long pixel)
{
    clockDisplay.gcValues.foreground = pixel;
    XChangeGC(clockDisplay.display, clockDisplay.gc, GCForeground, &clockDisplay.gcValues);
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
    Pixmap face = clockDisplay.facePixmap;
    int w = static_cast<int>(settings.windowWidth);
    int h = static_cast<int>(settings.windowHeight);
    setForeground(bevelPixel(serverPixels, pushedIn, 0));
    XDrawLine(d, face, clockDisplay.gc, 0, 0, w - 1, 0);
    XDrawLine(d, face, clockDisplay.gc, 0, 0, 0, h - 1);

    // The second shade is allocated only after the first two lines are out.
    setForeground(bevelPixel(serverPixels, pushedIn, 1));
    // Both lines start one pixel outside the pixmap (y = H, x = W); the
    // server clips the outside pixel, so the edges still end at the corner.
    XDrawLine(d, face, clockDisplay.gc, w - 1, h, w - 1, 0);
    XDrawLine(d, face, clockDisplay.gc, w, h - 1, 0, h - 1);
}

void drawTickMarks()
{
    setForeground(clockDisplay.foregroundPixel);
    TickPoint points[MAX_TICK_POINTS];
    const DialLayout &l = clockLayout;
    int n = tickPoints(l.centerX, l.centerY, l.radiusX, l.radiusY, settings.drawTicks, points);
    for (int i = 0; i < n; i++)
        XDrawPoint(clockDisplay.display, clockDisplay.facePixmap, clockDisplay.gc, points[i].x,
                   points[i].y);
}

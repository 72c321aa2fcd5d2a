// Frame composition: a copy of the face, the sprite indicators, the hands
// layer by layer and the label, all on one off-screen drawable.
#include "render/compose.h"

#include "display/scaling.h"
#include "display/setup.h"
#include "render/smooth.h"
#include "settings/settings.h"

#include <cstring>

// One glyph window out of a sprite sheet, copied opaquely.
static void copySprite(Drawable target, const SpriteSheet &sheet, int sourceY,
                       unsigned int width, unsigned int height, int x, int y)
{
    XCopyArea(clockDisplay.display, sheet.pixmap, target, clockDisplay.gc, 0, sourceY, width,
              height, x, y);
}

static void drawIndicators(Drawable target, const struct tm &t)
{
    int w = static_cast<int>(settings.windowWidth);
    int h = static_cast<int>(settings.windowHeight);
    if (settings.drawAMPM)
        copySprite(target, clockDisplay.ampmSheet, t.tm_hour < 12 ? 0 : 6, 13, 7, w - 14, 1);
    if (!settings.drawDayDate)
        return;
    copySprite(target, clockDisplay.daySheet, 6 * t.tm_wday, 13, 7, 1, 1);
    // The tens digit is always drawn: days 1 to 9 get a leading zero.
    copySprite(target, clockDisplay.digitSheet, 7 * (t.tm_mday / 10), 7, 8, 1, h - 9);
    copySprite(target, clockDisplay.digitSheet, 7 * (t.tm_mday % 10), 7, 8, 8, h - 9);
    copySprite(target, clockDisplay.monthSheet, 6 * t.tm_mon, 19, 7, 18, h - 8);
    if (settings.windowWidth >= 52) {
        int year = t.tm_year % 100;
        copySprite(target, clockDisplay.digitSheet, 7 * (year / 10), 7, 8, 38, h - 9);
        copySprite(target, clockDisplay.digitSheet, 7 * (year % 10), 7, 8, 45, h - 9);
    }
}

// One GC change per layer. A fill sets only the foreground, so the line
// width passed along is the last stroke's or outline's; filling ignores it.
static void setLayer(unsigned long pixel)
{
    clockDisplay.gcValues.foreground = pixel;
    XChangeGC(clockDisplay.display, clockDisplay.gc, GCForeground | GCLineWidth,
              &clockDisplay.gcValues);
}

static void drawHand(Drawable target, int i)
{
    Display *d = clockDisplay.display;
    GC gc = clockDisplay.gc;
    const HandLayers &layers = settings.handLayers[i];
    XPoint *polygon = handGeometry.polygon[i];
    const int *line = handGeometry.line[i];
    int rx = clockDisplay.dialRadiusX, ry = clockDisplay.dialRadiusY;

    if (layers.fill) {
        setLayer(clockDisplay.fillPixels[i]);
        XFillPolygon(d, target, gc, polygon, 3, Convex, CoordModeOrigin);
    }
    if (layers.stroke) {
        clockDisplay.gcValues.line_width =
            strokeWidth(i, settings.thinSeconds, settings.handThickness, rx, ry);
        setLayer(clockDisplay.strokePixels[i]);
        XDrawLine(d, target, gc, line[0], line[1], line[2], line[3]);
    }
    if (layers.outline) {
        clockDisplay.gcValues.line_width = outlineWidth(i, settings.outThickness, rx, ry);
        setLayer(clockDisplay.outlinePixels[i]);
        XDrawLines(d, target, gc, polygon, 4, CoordModeOrigin);
    }
}

// Smooth hands on a scaled clock are drawn at window resolution: the face
// and indicators go to the window-sized frame first, magnified.
static void magnifyForSmoothHands()
{
    const ScaledDrawing &s = clockDisplay.scaling;
    if (!s.framePicture)
        return;
    compositeWindowSized(PictOpSrc, s.framePicture, None, s.smoothPicture);
}

// The label stays on top of the hands; over smooth hands on a scaled clock
// it is the mask of its pixels, magnified, in the label colour.
static void drawLabel(Drawable target)
{
    const ScaledDrawing &s = clockDisplay.scaling;
    if (s.labelMask) {
        compositeWindowSized(PictOpOver, s.labelSource, s.labelMask, s.smoothPicture);
        return;
    }
    // Only the foreground changes; the line width goes along unchanged.
    setLayer(clockDisplay.labelPixel);
    XDrawString(clockDisplay.display, target, clockDisplay.gc, clockDisplay.labelX,
                clockDisplay.labelY, settings.Label, static_cast<int>(std::strlen(settings.Label)));
}

Dial handDial()
{
    const int n = settings.smooth ? settings.scale : 1;
    return Dial{clockDisplay.dialCenterX * n, clockDisplay.dialCenterY * n,
                clockDisplay.dialRadiusX * n, clockDisplay.dialRadiusY * n};
}

void composeFrame(Drawable target, const struct tm &shown)
{
    Display *d = clockDisplay.display;
    XCopyArea(d, clockDisplay.facePixmap, target, clockDisplay.gc, 0, 0, settings.windowWidth,
              settings.windowHeight, 0, 0);

    drawIndicators(target, shown);
    if (settings.smooth)
        magnifyForSmoothHands();
    for (int i = HOUR_HAND; i >= SECOND_HAND; i--) {
        if (i == SECOND_HAND && !settings.drawSecondHand)
            continue;
        if (settings.smooth)
            drawSmoothHand(i);
        else
            drawHand(target, i);
    }

    if (settings.labelOn)
        drawLabel(target);
}

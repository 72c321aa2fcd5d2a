// Frame composition: a copy of the face, the sprite indicators, the hands
// layer by layer and the label, all on one off-screen drawable. Smooth
// hands are each layer's triangles (render/shapes.h) filled by RENDER with
// coverage, one request per layer, over the frame at window resolution.
#include "display/compose.h"

#include "display/scaling.h"
#include "display/setup.h"
#include "render/geometry.h"
#include "render/indicators.h"
#include "render/layout.h"
#include "render/shapes.h"
#include "settings/settings.h"

#include <cstring>

// Each indicator: one glyph window out of its sprite sheet, copied opaquely.
static void drawIndicators(Drawable target, const struct tm &t)
{
    IndicatorCopy copies[MAX_INDICATOR_COPIES];
    int n = indicatorCopies(t, static_cast<int>(settings.windowWidth),
                            static_cast<int>(settings.windowHeight), copies);
    for (int k = 0; k < n; k++) {
        const IndicatorCopy &c = copies[k];
        XCopyArea(clockDisplay.display, clockDisplay.sheets[c.sheet].pixmap, target, clockDisplay.gc, 0,
                  c.sourceY, static_cast<unsigned int>(c.width),
                  static_cast<unsigned int>(c.height), c.x, c.y);
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
    XPoint *polygon = handGeometry.polygon[i];
    const int *line = handGeometry.line[i];
    const unsigned long(&pixels)[HAND_LAYERS][3] = clockDisplay.layerPixels;

    if (layerOn(i, FILL_LAYER)) {
        setLayer(pixels[FILL_LAYER][i]);
        XFillPolygon(d, target, gc, polygon, 3, Convex, CoordModeOrigin);
    }
    if (layerOn(i, STROKE_LAYER)) {
        clockDisplay.gcValues.line_width = handShape.strokeWidth[i];
        setLayer(pixels[STROKE_LAYER][i]);
        XDrawLine(d, target, gc, line[0], line[1], line[2], line[3]);
    }
    if (layerOn(i, OUTLINE_LAYER)) {
        clockDisplay.gcValues.line_width = handShape.outlineWidth[i];
        setLayer(pixels[OUTLINE_LAYER][i]);
        XDrawLines(d, target, gc, polygon, 4, CoordModeOrigin);
    }
}

// A smooth hand's layers that are on, anti-aliased onto the window-sized
// frame: the server adds each request's triangles into one coverage mask.
static void drawSmoothHand(int i)
{
    const ScaledDrawing &s = clockDisplay.scaling;
    XTriangle shape[MAX_OUTLINE_TRIANGLES];
    for (int layer = FILL_LAYER; layer < HAND_LAYERS; layer++) {
        int n = layerOn(i, layer) ? handLayerTriangles(i, layer, handGeometry, settings.scale, shape)
                                  : 0;
        if (n > 0)
            XRenderCompositeTriangles(clockDisplay.display, PictOpOver, s.layerSources[layer][i],
                                      s.smoothPicture, s.coverageFormat, 0, 0, shape, n);
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
    XDrawString(clockDisplay.display, target, clockDisplay.gc, clockLayout.labelX,
                clockLayout.labelY, settings.Label, static_cast<int>(std::strlen(settings.Label)));
}

void composeFrame(Drawable target, const struct tm &shown)
{
    Display *d = clockDisplay.display;
    XCopyArea(d, clockDisplay.facePixmap, target, clockDisplay.gc, 0, 0, settings.windowWidth,
              settings.windowHeight, 0, 0);

    drawIndicators(target, shown);
    if (settings.smooth)
        magnifyForSmoothHands();
    int hands[3];
    for (int k = 0, n = handsInDrawingOrder(hands); k < n; k++) {
        if (settings.smooth)
            drawSmoothHand(hands[k]);
        else
            drawHand(target, hands[k]);
    }

    if (settings.labelOn)
        drawLabel(target);
}

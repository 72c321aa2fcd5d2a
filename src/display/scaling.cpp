// The RENDER set-up of a scaled or smooth clock, and the one step that puts
// a finished frame on a window. The frame itself is always composed at the
// clock's own size; a scaled window shows it magnified by the server.
#include "display/scaling.h"

#include "display/setup.h"
#include "render/layout.h"
#include "settings/settings.h"

#include <cstdio>
#include <cstring>

void magnifyingTransform(int n, XTransform *transform)
{
    std::memset(transform, 0, sizeof *transform);
    // Window pixel x is sampled at (x + 0.5) / n. With 1/n exact (n divides
    // 65536) the affine form is exact and the server has fast paths for it.
    // For 3, 5, 6 and 7 a rounded 1/n drifts by up to half a pixel across a
    // wide window; dividing through the projective coordinate does not.
    if (65536 % n == 0) {
        transform->matrix[0][0] = XDoubleToFixed(1.0 / n);
        transform->matrix[1][1] = XDoubleToFixed(1.0 / n);
        transform->matrix[2][2] = XDoubleToFixed(1.0);
    } else {
        transform->matrix[0][0] = XDoubleToFixed(1.0);
        transform->matrix[1][1] = XDoubleToFixed(1.0);
        transform->matrix[2][2] = XDoubleToFixed(n);
    }
}

// Transforms and filters need RENDER 0.6; the formats must exist for the
// screen's visual and for the two masks.
static bool renderUsable()
{
    Display *d = clockDisplay.display;
    int eventBase, errorBase, major = 0, minor = 0;
    if (!XRenderQueryExtension(d, &eventBase, &errorBase) ||
        !XRenderQueryVersion(d, &major, &minor) || (major == 0 && minor < 6))
        return false;
    return XRenderFindVisualFormat(d, DefaultVisual(d, clockDisplay.screenNumber)) &&
           XRenderFindStandardFormat(d, PictStandardA8) &&
           XRenderFindStandardFormat(d, PictStandardA1);
}

void settleScaling()
{
    if ((settings.scale > 1 || settings.smooth) && !renderUsable()) {
        std::fputs("tavock: the X server has no RENDER extension, drawing at 1x without "
                   "smoothing\n", stderr);
        settings.scale = 1;
        settings.smooth = 0;
    }
    fitScale();
    const unsigned int n = static_cast<unsigned int>(settings.scale);
    clockDisplay.scaledWidth = settings.windowWidth * n;
    clockDisplay.scaledHeight = settings.windowHeight * n;
}

// A picture of a frame-sized drawable that reads magnified by the scale.
static Picture magnifiedPicture(Drawable drawable, XRenderPictFormat *format)
{
    Display *d = clockDisplay.display;
    Picture picture = XRenderCreatePicture(d, drawable, format, 0, nullptr);
    XTransform transform;
    magnifyingTransform(settings.scale, &transform);
    XRenderSetPictureTransform(d, picture, &transform);
    XRenderSetPictureFilter(d, picture, FilterNearest, nullptr, 0);
    return picture;
}

// One pixel, repeated everywhere: the exact pixel the plain drawing uses,
// whatever the visual, with no colour conversion on the way.
static Picture solidSource(unsigned long pixel, XRenderPictFormat *format, GC *gc)
{
    Display *d = clockDisplay.display;
    Pixmap dot = XCreatePixmap(d, clockDisplay.rootWindow, 1, 1, clockDisplay.depth);
    if (!*gc)
        *gc = XCreateGC(d, dot, 0, nullptr);
    XSetForeground(d, *gc, pixel);
    XDrawPoint(d, dot, *gc, 0, 0);
    XRenderPictureAttributes attributes = {};
    attributes.repeat = RepeatNormal;
    return XRenderCreatePicture(d, dot, format, CPRepeat, &attributes);
}

// The label drawn once, in its font, into a one-bit mask of the frame's
// size: the same pixels XDrawString sets on the frame.
static Picture labelMask()
{
    Display *d = clockDisplay.display;
    unsigned int w = settings.windowWidth, h = settings.windowHeight;
    Pixmap bits = XCreatePixmap(d, clockDisplay.rootWindow, w, h, 1);
    XGCValues values = {};
    values.foreground = 0;
    values.font = clockDisplay.labelFontId;
    GC gc = XCreateGC(d, bits, GCForeground | GCFont, &values);
    XFillRectangle(d, bits, gc, 0, 0, w, h);
    XSetForeground(d, gc, 1);
    XDrawString(d, bits, gc, clockLayout.labelX, clockLayout.labelY, settings.Label,
                static_cast<int>(std::strlen(settings.Label)));
    XFreeGC(d, gc);
    return magnifiedPicture(bits, XRenderFindStandardFormat(d, PictStandardA1));
}

void setupScaledDrawing()
{
    ScaledDrawing &s = clockDisplay.scaling;
    const int n = settings.scale;
    if (n == 1 && !settings.smooth)
        return;
    Display *d = clockDisplay.display;
    XRenderPictFormat *format =
        XRenderFindVisualFormat(d, DefaultVisual(d, clockDisplay.screenNumber));
    if (n > 1)
        s.framePicture = magnifiedPicture(clockDisplay.framePixmap, format);
    if (!settings.smooth) {
        s.windowPictures[0] = XRenderCreatePicture(d, clockDisplay.mainWindow, format, 0, nullptr);
        s.windowPictures[1] = XRenderCreatePicture(d, clockDisplay.iconWindow, format, 0, nullptr);
        return;
    }

    // Smooth hands: the frame is magnified into a window-sized pixmap, and
    // hands and label are drawn there before it is copied to the windows.
    if (n > 1) {
        s.smoothPixmap = XCreatePixmap(d, clockDisplay.rootWindow, clockDisplay.scaledWidth,
                                       clockDisplay.scaledHeight, clockDisplay.depth);
    } else {
        s.smoothPixmap = clockDisplay.framePixmap;
    }
    s.smoothPicture = XRenderCreatePicture(d, s.smoothPixmap, format, 0, nullptr);
    s.coverageFormat = XRenderFindStandardFormat(d, PictStandardA8);
    GC gc = nullptr;
    const int order[HAND_LAYERS] = {STROKE_LAYER, OUTLINE_LAYER, FILL_LAYER};
    for (int i = 0; i < 3; i++) {
        for (int layer : order)
            s.layerSources[layer][i] = solidSource(clockDisplay.layerPixels[layer][i], format, &gc);
    }
    s.labelSource = solidSource(clockDisplay.labelPixel, format, &gc);
    XFreeGC(d, gc);
    // Unscaled, the label is drawn on the frame as always.
    if (settings.labelOn && n > 1)
        s.labelMask = labelMask();
}

void compositeWindowSized(int op, Picture source, Picture mask, Picture target)
{
    XRenderComposite(clockDisplay.display, op, source, mask, target, 0, 0, 0, 0, 0, 0,
                     clockDisplay.scaledWidth, clockDisplay.scaledHeight);
}

void showFrameOn(int which)
{
    const ScaledDrawing &s = clockDisplay.scaling;
    if (s.windowPictures[which]) {
        compositeWindowSized(PictOpSrc, s.framePicture, None, s.windowPictures[which]);
        return;
    }
    Window window = which == 0 ? clockDisplay.mainWindow : clockDisplay.iconWindow;
    Pixmap shown = s.smoothPixmap ? s.smoothPixmap : clockDisplay.framePixmap;
    XCopyArea(clockDisplay.display, shown, window, clockDisplay.gc, 0, 0, clockDisplay.scaledWidth,
              clockDisplay.scaledHeight, 0, 0);
}

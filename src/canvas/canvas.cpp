// The client-side frame: what setupDisplay and composeFrame draw on the X
// server, drawn into memory with pixman, the library the server draws with.
// Face, indicators, label and magnification set the pixels the server sets;
// smooth hands are the same triangles through the same pixman call RENDER
// makes. Plain hands are the one part drawn by other code than the
// server's: one-pixel lines step as its Bresenham steps, wider lines and
// filled triangles are pixman's, sampled at pixel centres as the core
// requests are (the server's own wide-line code may differ at their edges).
#include "canvas/canvas.h"

#include "canvas/colornames.h"
#include "render/indicators.h"
#include "render/layout.h"
#include "render/shades.h"
#include "render/shapes.h"
#include "settings/settings.h"

#include <X11/xpm.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

ClockCanvas clockCanvas;

namespace {

pixman_image_t *newImage(int width, int height)
{
    return pixman_image_create_bits(PIXMAN_x8r8g8b8, width, height, nullptr, 0);
}

uint32_t *row(pixman_image_t *image, int y)
{
    return reinterpret_cast<uint32_t *>(reinterpret_cast<char *>(pixman_image_get_data(image)) +
                                        static_cast<long>(y) * pixman_image_get_stride(image));
}

// Like X, drawing outside the image is clipped away.
void setPixel(pixman_image_t *image, int x, int y, uint32_t pixel)
{
    if (x >= 0 && y >= 0 && x < pixman_image_get_width(image) && y < pixman_image_get_height(image))
        row(image, y)[x] = pixel;
}

void fillRectangle(pixman_image_t *image, int x, int y, int width, int height, uint32_t pixel)
{
    for (int j = y; j < y + height; j++)
        for (int i = x; i < x + width; i++)
            setPixel(image, i, j, pixel);
}

// One pixel, repeated everywhere: what the server's solid pictures are.
pixman_image_t *solidImage(uint32_t pixel)
{
    pixman_image_t *dot = newImage(1, 1);
    setPixel(dot, 0, 0, pixel);
    pixman_image_set_repeat(dot, PIXMAN_REPEAT_NORMAL);
    return dot;
}

// Triangles as render/shapes.h makes them for RENDER, composited over image with
// the coverage format given: a8 is RENDER's anti-aliasing, a1 samples only
// pixel centres as the core polygon and wide-line requests do.
void fillTriangles(pixman_image_t *image, pixman_image_t *source, const XTriangle *triangles,
                   int count, pixman_format_code_t coverage)
{
    if (count == 0)
        return;
    pixman_triangle_t shapes[MAX_OUTLINE_TRIANGLES];
    for (int k = 0; k < count; k++) {
        shapes[k].p1 = {triangles[k].p1.x, triangles[k].p1.y};
        shapes[k].p2 = {triangles[k].p2.x, triangles[k].p2.y};
        shapes[k].p3 = {triangles[k].p3.x, triangles[k].p3.y};
    }
    pixman_composite_triangles(PIXMAN_OP_OVER, source, image, coverage, 0, 0, 0, 0, count, shapes);
}

// ---- Set-up ----

// XpmCreatePixmapFromData without the server: the same lines (the stored
// image with its two colour lines formatted from the settings), read by
// libXpm, coloured as the server allocates. Returns libXpm's status.
int makeSheet(pixman_image_t **sheet, int kind, const char *background, const char *ink)
{
    const SpriteSheetKind &layout = spriteSheetKinds[kind];
    char *lines[SPRITE_TABLE_LINES];
    for (int i = layout.headerLine; i < SPRITE_TABLE_LINES; i++)
        lines[i - layout.headerLine] = const_cast<char *>(spriteTable[i]);  // libXpm only reads
    char colourLines[2][COLOR_LINE_SIZE];
    formatColorLine(colourLines[0], layout.background, background);
    formatColorLine(colourLines[1], layout.ink, ink);
    lines[1] = colourLines[0];
    lines[2] = colourLines[1];

    XpmImage image;
    int status = XpmCreateXpmImageFromData(lines, &image, nullptr);
    if (status != XpmSuccess)
        return status;
    uint32_t pixels[2] = {0, 0};
    for (unsigned int k = 0; k < image.ncolors && k < 2; k++) {
        const char *colour = image.colorTable[k].c_color;
        unsigned short rgb[3];
        // "None" is libXpm's transparent colour; the pixmap holds pixel 0.
        if (colour && strcasecmp(colour, "None") == 0)
            continue;
        if (!colour || !parseColorText(colour, rgb)) {
            XpmFreeXpmImage(&image);
            return XpmColorFailed;
        }
        pixels[k] = static_cast<uint32_t>(trueColorPixel(rgb));
    }
    int w = static_cast<int>(image.width), h = static_cast<int>(image.height);
    *sheet = newImage(w, h);
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            row(*sheet, y)[x] = image.data[y * w + x] < 2 ? pixels[image.data[y * w + x]] : 0;
    XpmFreeXpmImage(&image);
    return XpmSuccess;
}

bool makeSheets()
{
    ClockCanvas &c = clockCanvas;
    for (int kind = 0; kind < SPRITE_SHEET_COUNT; kind++) {
        int status = makeSheet(&c.sheets[kind], kind, settings.background, sheetInk(kind));
        if (status != XpmSuccess) {
            reportSheetFailure(status, kind);
            return false;
        }
    }
    return true;
}

// The label's measures and pixels, or the X messages and no label.
void measureLabel(LabelTextCall labelText, LabelText *label)
{
    *label = LabelText{};
    if (!settings.labelOn)
        return;
    if (!labelText || !labelText(settings.Font, settings.Label, label)) {
        reportLabelFontFailure(settings.Font);
        settings.labelOn = 0;
    }
}

// The label's mask at its place on the clock, clipped to it as XDrawString
// clips to the frame.
void placeLabel(const LabelText &label)
{
    ClockCanvas &c = clockCanvas;
    c.labelMask = static_cast<unsigned char *>(
        std::calloc(static_cast<size_t>(c.width) * static_cast<size_t>(c.height), 1));
    if (!c.labelMask)
        return;
    const int x0 = clockLayout.labelX + label.left, y0 = clockLayout.labelY + label.top;
    for (int y = 0; y < label.maskHeight; y++)
        for (int x = 0; x < label.maskWidth; x++)
            if (label.mask[y * label.maskWidth + x] && x0 + x >= 0 && x0 + x < c.width &&
                y0 + y >= 0 && y0 + y < c.height)
                c.labelMask[(y0 + y) * c.width + x0 + x] = 1;
}

// The face as setupDisplay draws it on facePixmap.
void drawFace()
{
    ClockCanvas &c = clockCanvas;
    const int w = c.width, h = c.height;
    c.face = newImage(w, h);
    fillRectangle(c.face, 0, 0, w, h, c.backgroundPixel);
    const PixelSource local = {localColorPixel, localDarkerPixel, localLighterPixel};
    if (!settings.noborder) {
        uint32_t first = static_cast<uint32_t>(bevelPixel(local, settings.pushedIn, 0));
        // The server draws the edges as lines one pixel wide (the GC's width
        // then): each covers the pixels whose centres lie inside, so the top
        // and left edges stop one short of their end points. The right and
        // bottom edges, drawn later, take the corners anyway.
        fillRectangle(c.face, 0, 0, w - 1, 1, first);
        fillRectangle(c.face, 0, 0, 1, h - 1, first);
        uint32_t second = static_cast<uint32_t>(bevelPixel(local, settings.pushedIn, 1));
        fillRectangle(c.face, w - 1, 0, 1, h, second);
        fillRectangle(c.face, 0, h - 1, w, 1, second);
    }
    TickPoint points[MAX_TICK_POINTS];
    const DialLayout &l = clockLayout;
    int n = tickPoints(l.centerX, l.centerY, l.radiusX, l.radiusY, settings.drawTicks, points);
    for (int i = 0; i < n; i++)
        setPixel(c.face, points[i].x, points[i].y, c.foregroundPixel);
}

// The pixels of setupDisplay's hand step, in its order (and so with its
// messages in the same order).
void allocateHandPixels()
{
    ClockCanvas &c = clockCanvas;
    unsigned long pixels[HAND_LAYERS][3];
    handPixels(PixelSource{localColorPixel, localDarkerPixel, localLighterPixel}, pixels);
    for (int layer = 0; layer < HAND_LAYERS; layer++)
        for (int i = 0; i < 3; i++) {
            c.layerPixels[layer][i] = static_cast<uint32_t>(pixels[layer][i]);
            c.layerSources[layer][i] = solidImage(c.layerPixels[layer][i]);
        }
}

// ---- Frames ----

void drawIndicators(const struct tm &t)
{
    ClockCanvas &c = clockCanvas;
    IndicatorCopy copies[MAX_INDICATOR_COPIES];
    for (int k = 0, n = indicatorCopies(t, c.width, c.height, copies); k < n; k++)
        pixman_image_composite32(PIXMAN_OP_SRC, c.sheets[copies[k].sheet], nullptr, c.frame, 0,
                                 copies[k].sourceY, 0, 0, copies[k].x, copies[k].y,
                                 copies[k].width, copies[k].height);
}

// X's one-pixel line (line width 0), both ends drawn.
void drawThinLine(pixman_image_t *image, int x1, int y1, int x2, int y2, uint32_t pixel)
{
    // Bresenham as the server steps it: along the major axis from the first
    // point, the minor coordinate the nearest to the true line; a tie goes
    // forward (the server's zero line bias, which Xvfb leaves at 0).
    int adx = std::abs(x2 - x1), ady = std::abs(y2 - y1);
    int sx = x2 < x1 ? -1 : 1, sy = y2 < y1 ? -1 : 1;
    bool yMajor = ady > adx;
    long major = yMajor ? ady : adx, minor = yMajor ? adx : ady;
    long e = -major;
    int x = x1, y = y1;
    for (long k = 0; k <= major; k++) {
        setPixel(image, x, y, pixel);
        e += 2 * minor;
        if (yMajor)
            y += sy;
        else
            x += sx;
        if (e >= 0) {
            if (yMajor)
                x += sx;
            else
                y += sy;
            e -= 2 * major;
        }
    }
}

// A hand as composeFrame draws it: fill, stroke, outline; at 1x the layers'
// triangles sampled at pixel centres as the core requests are, and
// one-pixel lines stepped as the server's; smooth (n: the magnification),
// the X clock's anti-aliased triangles on the magnified frame.
void drawHand(pixman_image_t *target, int i, const HandGeometry &hands, bool smooth, int n)
{
    ClockCanvas &c = clockCanvas;
    const XPoint *polygon = hands.polygon[i];
    const int *line = hands.line[i];
    XTriangle shape[MAX_OUTLINE_TRIANGLES];
    for (int layer = FILL_LAYER; layer < HAND_LAYERS; layer++) {
        if (!layerOn(i, layer))
            continue;
        const uint32_t pixel = c.layerPixels[layer][i];
        // A width of 0 is the server's one-pixel line; smooth layers are triangles.
        const int width = layer == STROKE_LAYER ? handShape.strokeWidth[i] : handShape.outlineWidth[i];
        const bool thin = !smooth && layer != FILL_LAYER && width == 0;
        if (thin && layer == STROKE_LAYER)
            drawThinLine(target, line[0], line[1], line[2], line[3], pixel);
        else if (thin)
            for (int k = 0; k < 3; k++)
                drawThinLine(target, polygon[k].x, polygon[k].y, polygon[k + 1].x,
                             polygon[k + 1].y, pixel);
        else
            fillTriangles(target, c.layerSources[layer][i], shape,
                          handLayerTriangles(i, layer, hands, smooth ? n : 1, shape),
                          smooth ? PIXMAN_a8 : PIXMAN_a1);
    }
}

// The label's pixels, each as an n x n block.
void drawLabel(pixman_image_t *target, int n)
{
    ClockCanvas &c = clockCanvas;
    for (int y = 0; y < c.height; y++)
        for (int x = 0; x < c.width; x++)
            if (c.labelMask[y * c.width + x])
                fillRectangle(target, x * n, y * n, n, n, c.labelPixel);
}

// Every pixel of the frame as an n x n block: RENDER's nearest filter at
// an exact 1/n.
void magnify(pixman_image_t *frame, pixman_image_t *target, int n)
{
    const int w = clockCanvas.width * n, h = clockCanvas.height * n;
    for (int y = 0; y < h; y++) {
        const uint32_t *from = row(frame, y / n);
        uint32_t *to = row(target, y);
        for (int x = 0; x < w; x++)
            to[x] = from[x / n];
    }
}

} // namespace

bool setupCanvas(LabelTextCall labelText)
{
    ClockCanvas &c = clockCanvas;
    c.backgroundPixel = static_cast<uint32_t>(localColorPixel(settings.background));
    c.foregroundPixel = static_cast<uint32_t>(localColorPixel(settings.foreground));

    LabelText label;
    measureLabel(labelText, &label);
    c.width = static_cast<int>(settings.windowWidth);
    c.height = static_cast<int>(settings.windowHeight);
    clockLayout = dialLayout(c.width, c.height, settings.drawDayDate, settings.labelOn,
                             settings.LabelTop, label.ascent + label.descent, label.width);

    bool made = makeSheets();
    if (made) {
        drawFace();
        c.frame = newImage(c.width, c.height);
        allocateHandPixels();
        c.labelPixel = static_cast<uint32_t>(localColorPixel(settings.LabelColor));
        if (settings.labelOn)
            placeLabel(label);
    }
    std::free(label.mask);
    return made;
}

int canvasMagnification(const FramePixels &frame)
{
    const ClockCanvas &c = clockCanvas;
    if (c.width <= 0 || c.height <= 0 || frame.width % c.width != 0)
        return 0;
    const int n = frame.width / c.width;
    return frame.height == c.height * n && frame.stride >= frame.width * 4 ? n : 0;
}

void drawCanvasFrame(const struct tm &t, const HandGeometry &hands, const FramePixels &frame)
{
    ClockCanvas &c = clockCanvas;
    const int scale = canvasMagnification(frame);
    if (scale == 0)
        return;
    pixman_image_composite32(PIXMAN_OP_SRC, c.face, nullptr, c.frame, 0, 0, 0, 0, 0, 0, c.width,
                             c.height);
    drawIndicators(t);
    pixman_image_t *target = pixman_image_create_bits(PIXMAN_x8r8g8b8, frame.width, frame.height,
                                                      frame.pixels, frame.stride);
    const bool label = settings.labelOn && c.labelMask;
    int order[3];
    const int drawn = handsInDrawingOrder(order);
    if (settings.smooth) {
        // Face and indicators magnified first, hands and label at full size.
        magnify(c.frame, target, scale);
        for (int k = 0; k < drawn; k++)
            drawHand(target, order[k], hands, true, scale);
        if (label)
            drawLabel(target, scale);
    } else {
        for (int k = 0; k < drawn; k++)
            drawHand(c.frame, order[k], hands, false, 1);
        if (label)
            drawLabel(c.frame, 1);
        magnify(c.frame, target, scale);
    }
    pixman_image_unref(target);
}

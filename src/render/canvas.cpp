// The client-side frame: what setupDisplay and composeFrame draw on the X
// server, drawn into memory with pixman, the library the server draws with.
// Face, indicators, label and magnification set the pixels the server sets;
// smooth hands are the same triangles through the same pixman call RENDER
// makes. Plain hands are the one part drawn by other code than the
// server's: one-pixel lines step as its Bresenham steps, wider lines and
// filled triangles are pixman's, sampled at pixel centres as the core
// requests are (the server's own wide-line code may differ at their edges).
#include "render/canvas.h"

#include "display/colors.h"
#include "display/face.h"
#include "display/setup.h"
#include "display/sprites.h"
#include "render/bitmapfont.h"
#include "render/colornames.h"
#include "render/smooth.h"
#include "settings/modules.h"
#include "settings/settings.h"

#include <X11/xpm.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <strings.h>

ClockCanvas clockCanvas;

namespace {

// Which octants of a one-pixel line round a tie between two pixels back
// towards the start (a bit per octant). Xvfb leaves it at 0; an X server
// whose driver sets one draws some of those lines a pixel aside.
const unsigned int ZERO_LINE_BIAS = 0;

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

// Triangles as smooth.h makes them for RENDER, composited over image with
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

XTriangle fixedTriangle(const XPointDouble corner[3])
{
    XTriangle t;
    t.p1.x = XDoubleToFixed(corner[0].x);
    t.p1.y = XDoubleToFixed(corner[0].y);
    t.p2.x = XDoubleToFixed(corner[1].x);
    t.p2.y = XDoubleToFixed(corner[1].y);
    t.p3.x = XDoubleToFixed(corner[2].x);
    t.p3.y = XDoubleToFixed(corner[2].y);
    return t;
}

// The first three polygon points moved by offset: core requests name pixel
// centres by whole coordinates, pixman by whole coordinates plus a half.
void cornersOf(const XPoint polygon[4], double offset, XPointDouble corner[3])
{
    for (int k = 0; k < 3; k++) {
        corner[k].x = polygon[k].x + offset;
        corner[k].y = polygon[k].y + offset;
    }
}

double doubleArea(const XPointDouble corner[3])
{
    return (corner[1].x - corner[0].x) * (corner[2].y - corner[0].y) -
           (corner[1].y - corner[0].y) * (corner[2].x - corner[0].x);
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
    pixman_image_t **sheets[SPRITE_SHEET_COUNT] = {&c.daySheet, &c.ampmSheet, &c.digitSheet,
                                                   &c.monthSheet};
    const char *inks[SPRITE_SHEET_COUNT] = {settings.dayColor, settings.AMPMColor,
                                            settings.dateColor, settings.dateColor};
    for (int kind = 0; kind < SPRITE_SHEET_COUNT; kind++) {
        int status = makeSheet(sheets[kind], kind, settings.background, inks[kind]);
        if (status != XpmSuccess) {
            std::printf("tavock : (%d) not enough free color cells for %s.\n", status,
                        spriteSheetKinds[kind].what);
            std::fflush(stdout);
            return false;
        }
    }
    return true;
}

// The font reader, loaded for the label's set-up alone: FreeType leaves
// with it once the label is drawn into labelMask.
const BitmapFontCalls *font;
void *fontModule;

// The label font's measures, or the X messages and no label. The font
// stays open until the label's pixels are drawn into labelMask.
void openLabelFont(BitmapFont *label, int *labelHeight, int *labelWidth)
{
    *labelHeight = *labelWidth = 0;
    if (!settings.labelOn)
        return;
    if (!font) {
        auto entry = reinterpret_cast<const BitmapFontCalls *(*)()>(
            moduleEntry("tavock-font.so", "tavockBitmapFont", &fontModule));
        font = entry ? entry() : nullptr;
    }
    if (!font || !font->open(settings.Font, label)) {
        std::printf("tavock : failed to load font %s\n", settings.Font);
        std::printf("tavock : warning : the label will not be drawn\n");
        std::fflush(stdout);
        settings.labelOn = 0;
        return;
    }
    *labelWidth = font->width(*label, settings.Label);
    *labelHeight = label->ascent + label->descent;
}

void closeLabelFont(BitmapFont *label)
{
    if (!font)
        return;
    font->close(label);
    font = nullptr;
    closeModule(fontModule);
    fontModule = nullptr;
}

// The face as setupDisplay draws it on facePixmap.
void drawFace()
{
    ClockCanvas &c = clockCanvas;
    const int w = c.width, h = c.height;
    c.face = newImage(w, h);
    fillRectangle(c.face, 0, 0, w, h, c.backgroundPixel);
    if (!settings.noborder) {
        uint32_t first = static_cast<uint32_t>(
            settings.pushedIn ? localDarkerPixel(settings.background, 1.6f)
                              : localLighterPixel(settings.background, 2.0f));
        // The server draws the edges as lines one pixel wide (the GC's width
        // then): each covers the pixels whose centres lie inside, so the top
        // and left edges stop one short of their end points. The right and
        // bottom edges, drawn later, take the corners anyway.
        fillRectangle(c.face, 0, 0, w - 1, 1, first);
        fillRectangle(c.face, 0, 0, 1, h - 1, first);
        uint32_t second = static_cast<uint32_t>(
            settings.pushedIn ? localLighterPixel(settings.background, 2.0f)
                              : localDarkerPixel(settings.background, 1.6f));
        fillRectangle(c.face, w - 1, 0, 1, h, second);
        fillRectangle(c.face, 0, h - 1, w, 1, second);
    }
    TickPoint points[MAX_TICK_POINTS];
    int n = tickPoints(c.dialCenterX, c.dialCenterY, c.dialRadiusX, c.dialRadiusY,
                       settings.drawTicks, points);
    for (int i = 0; i < n; i++)
        setPixel(c.face, points[i].x, points[i].y, c.foregroundPixel);
}

// The pixels of setupDisplay's hand step, in its order (and so with its
// messages in the same order).
void allocateHandPixels()
{
    ClockCanvas &c = clockCanvas;
    unsigned long stroke[3], outline[3], fill[3];
    handPixels(PixelSource{localColorPixel, localDarkerPixel, localLighterPixel}, stroke, outline,
               fill);
    for (int i = 0; i < 3; i++) {
        c.strokePixels[i] = static_cast<uint32_t>(stroke[i]);
        c.outlinePixels[i] = static_cast<uint32_t>(outline[i]);
        c.fillPixels[i] = static_cast<uint32_t>(fill[i]);
    }
    for (int i = 0; i < 3; i++) {
        c.strokeSources[i] = solidImage(c.strokePixels[i]);
        c.outlineSources[i] = solidImage(c.outlinePixels[i]);
        c.fillSources[i] = solidImage(c.fillPixels[i]);
    }
}

// ---- Frames ----

void copySprite(pixman_image_t *sheet, int sourceY, int width, int height, int x, int y)
{
    pixman_image_composite32(PIXMAN_OP_SRC, sheet, nullptr, clockCanvas.frame, 0, sourceY, 0, 0,
                             x, y, width, height);
}

void drawIndicators(const struct tm &t)
{
    ClockCanvas &c = clockCanvas;
    const int w = c.width, h = c.height;
    if (settings.drawAMPM)
        copySprite(c.ampmSheet, t.tm_hour < 12 ? 0 : 6, 13, 7, w - 14, 1);
    if (!settings.drawDayDate)
        return;
    copySprite(c.daySheet, 6 * t.tm_wday, 13, 7, 1, 1);
    copySprite(c.digitSheet, 7 * (t.tm_mday / 10), 7, 8, 1, h - 9);
    copySprite(c.digitSheet, 7 * (t.tm_mday % 10), 7, 8, 8, h - 9);
    copySprite(c.monthSheet, 6 * t.tm_mon, 19, 7, 18, h - 8);
    if (w >= 52) {
        int year = t.tm_year % 100;
        copySprite(c.digitSheet, 7 * (year / 10), 7, 8, 38, h - 9);
        copySprite(c.digitSheet, 7 * (year % 10), 7, 8, 45, h - 9);
    }
}

// X's one-pixel line (line width 0), both ends drawn.
void drawThinLine(pixman_image_t *image, int x1, int y1, int x2, int y2, uint32_t pixel)
{
    // Bresenham as the server steps it: along the major axis from the first
    // point, the minor coordinate the nearest to the true line; a tie goes
    // forward, or back in the octants whose bias bit is set.
    int adx = std::abs(x2 - x1), ady = std::abs(y2 - y1);
    int sx = x2 < x1 ? -1 : 1, sy = y2 < y1 ? -1 : 1;
    bool yMajor = ady > adx;
    int octant = (x2 < x1 ? 4 : 0) | (y2 < y1 ? 2 : 0) | (yMajor ? 1 : 0);
    long major = yMajor ? ady : adx, minor = yMajor ? adx : ady;
    long e = -major - static_cast<long>((ZERO_LINE_BIAS >> octant) & 1);
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

// A hand at 1x as composeFrame draws it: fill, stroke, outline.
void drawPlainHand(int i, const HandGeometry &hands)
{
    ClockCanvas &c = clockCanvas;
    const HandLayers &layers = settings.handLayers[i];
    const XPoint *polygon = hands.polygon[i];
    const int *line = hands.line[i];
    XPointDouble corner[3];
    cornersOf(polygon, 0.5, corner);
    XTriangle shape[MAX_OUTLINE_TRIANGLES];

    if (layers.fill) {
        shape[0] = fixedTriangle(corner);
        fillTriangles(c.frame, c.fillSources[i], shape, 1, PIXMAN_a1);
    }
    if (layers.stroke) {
        int width = strokeWidth(i, settings.thinSeconds, settings.handThickness, c.dialRadiusX,
                                c.dialRadiusY);
        if (width == 0)
            drawThinLine(c.frame, line[0], line[1], line[2], line[3], c.strokePixels[i]);
        else
            fillTriangles(c.frame, c.strokeSources[i], shape,
                          lineBand(line[0] + 0.5, line[1] + 0.5, line[2] + 0.5, line[3] + 0.5,
                                   width, shape),
                          PIXMAN_a1);
    }
    if (layers.outline) {
        int width = outlineWidth(i, settings.outThickness, c.dialRadiusX, c.dialRadiusY);
        if (width == 0) {
            for (int k = 0; k < 3; k++)
                drawThinLine(c.frame, polygon[k].x, polygon[k].y, polygon[k + 1].x,
                             polygon[k + 1].y, c.outlinePixels[i]);
        } else {
            fillTriangles(c.frame, c.outlineSources[i], shape,
                          triangleOutline(corner, width, shape), PIXMAN_a1);
        }
    }
}

// drawSmoothHand's layers on the magnified frame, with its shapes.
void drawAntialiasedHand(pixman_image_t *target, int i, const HandGeometry &hands, int n)
{
    ClockCanvas &c = clockCanvas;
    const HandLayers &layers = settings.handLayers[i];
    const double centre = 0.5 * n;
    const int *line = hands.line[i];
    XPointDouble corner[3];
    cornersOf(hands.polygon[i], centre, corner);
    XTriangle shape[MAX_OUTLINE_TRIANGLES];

    if (layers.fill && doubleArea(corner) != 0.0) {
        shape[0] = fixedTriangle(corner);
        fillTriangles(target, c.fillSources[i], shape, 1, PIXMAN_a8);
    }
    if (layers.stroke) {
        int width = strokeWidth(i, settings.thinSeconds, settings.handThickness, c.dialRadiusX,
                                c.dialRadiusY);
        fillTriangles(target, c.strokeSources[i], shape,
                      lineBand(line[0] + centre, line[1] + centre, line[2] + centre,
                               line[3] + centre, n * (width > 0 ? width : 1), shape),
                      PIXMAN_a8);
    }
    if (layers.outline) {
        int width = outlineWidth(i, settings.outThickness, c.dialRadiusX, c.dialRadiusY);
        fillTriangles(target, c.outlineSources[i], shape,
                      triangleOutline(corner, n * (width > 0 ? width : 1), shape), PIXMAN_a8);
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

bool setupCanvas()
{
    ClockCanvas &c = clockCanvas;
    c.backgroundPixel = static_cast<uint32_t>(localColorPixel(settings.background));
    c.foregroundPixel = static_cast<uint32_t>(localColorPixel(settings.foreground));

    BitmapFont label = {};
    int labelHeight, labelWidth;
    openLabelFont(&label, &labelHeight, &labelWidth);
    c.width = static_cast<int>(settings.windowWidth);
    c.height = static_cast<int>(settings.windowHeight);
    DialLayout layout = dialLayout(c.width, c.height, settings.drawDayDate, settings.labelOn,
                                   settings.LabelTop, labelHeight, labelWidth);
    keepLayout(c, layout);

    if (!makeSheets()) {
        closeLabelFont(&label);
        return false;
    }
    drawFace();
    c.frame = newImage(c.width, c.height);
    allocateHandPixels();
    c.labelPixel = static_cast<uint32_t>(localColorPixel(settings.LabelColor));
    if (settings.labelOn) {
        c.labelMask = static_cast<unsigned char *>(
            std::calloc(static_cast<size_t>(c.width) * static_cast<size_t>(c.height), 1));
        if (c.labelMask)
            font->draw(label, settings.Label, c.labelX, c.labelY, c.labelMask, c.width,
                       c.height);
    }
    closeLabelFont(&label);
    return true;
}

Dial canvasHandDial(int scale)
{
    const ClockCanvas &c = clockCanvas;
    // Smooth hands are drawn at the resolution of the magnified frame.
    const int n = settings.smooth ? scale : 1;
    return Dial{c.dialCenterX * n, c.dialCenterY * n, c.dialRadiusX * n, c.dialRadiusY * n};
}

void drawCanvasFrame(const struct tm &t, const HandGeometry &hands, int scale, uint32_t *pixels,
                     int stride)
{
    ClockCanvas &c = clockCanvas;
    pixman_image_composite32(PIXMAN_OP_SRC, c.face, nullptr, c.frame, 0, 0, 0, 0, 0, 0, c.width,
                             c.height);
    drawIndicators(t);
    pixman_image_t *target = pixman_image_create_bits(PIXMAN_x8r8g8b8, c.width * scale,
                                                      c.height * scale, pixels, stride);
    const bool label = settings.labelOn && c.labelMask;
    if (settings.smooth) {
        // Face and indicators magnified first, hands and label at full size.
        magnify(c.frame, target, scale);
        for (int i = HOUR_HAND; i >= SECOND_HAND; i--)
            if (i != SECOND_HAND || settings.drawSecondHand)
                drawAntialiasedHand(target, i, hands, scale);
        if (label)
            drawLabel(target, scale);
    } else {
        for (int i = HOUR_HAND; i >= SECOND_HAND; i--)
            if (i != SECOND_HAND || settings.drawSecondHand)
                drawPlainHand(i, hands);
        if (label)
            drawLabel(c.frame, 1);
        magnify(c.frame, target, scale);
    }
    pixman_image_unref(target);
}

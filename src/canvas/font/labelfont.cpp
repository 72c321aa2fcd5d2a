// The label font's glyphs as the X server makes them, through FreeType:
// bitmap files (PCF, BDF) as they are or through the server's bitmap
// scaler, outline files as the server's FreeType backend renders them.
// Meant for start-up: the font is closed once the text it was opened for
// is measured and drawn.
#include "canvas/font/labelfont.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_BBOX_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

enum { CODES = 256, DEFAULT_GLYPH = CODES, GLYPHS = CODES + 1 };


// A glyph being made: X's metrics and its box's pixels (one byte each).
struct Glyph {
    bool exists;
    int lbearing, rbearing, ascent, descent, width;
    unsigned char *bits;
};

int boxWidth(const Glyph &g)
{
    return g.rbearing > g.lbearing ? g.rbearing - g.lbearing : 0;
}

int boxHeight(const Glyph &g)
{
    return g.ascent + g.descent > 0 ? g.ascent + g.descent : 0;
}

bool allocateBits(Glyph &g)
{
    size_t size = static_cast<size_t>(boxWidth(g)) * static_cast<size_t>(boxHeight(g));
    g.bits = static_cast<unsigned char *>(std::calloc(size ? size : 1, 1));
    return g.bits != nullptr;
}

void freeGlyphs(Glyph *glyphs, int count)
{
    for (int i = 0; i < count; i++) {
        std::free(glyphs[i].bits);
        glyphs[i].bits = nullptr;
    }
}

const FontFolder *chosenFolders;
int chosenCount;

// The box of a glyph from FreeType's bitmap metrics, which for bitmap
// files are the file's own.
void bitmapMetrics(const FT_Glyph_Metrics &m, Glyph &g)
{
    g.lbearing = static_cast<int>(m.horiBearingX >> 6);
    g.rbearing = g.lbearing + static_cast<int>(m.width >> 6);
    g.ascent = static_cast<int>(m.horiBearingY >> 6);
    g.descent = static_cast<int>(m.height >> 6) - g.ascent;
    g.width = static_cast<int>(m.horiAdvance >> 6);
    g.exists = g.lbearing || g.rbearing || g.ascent || g.descent || g.width;
}

// Copies the slot's bitmap into the glyph's box, its top left corner at
// (left, top) from the origin, clipped to the box.
void copySlot(const FT_GlyphSlot slot, int left, int top, Glyph &g)
{
    const FT_Bitmap &bitmap = slot->bitmap;
    const int w = boxWidth(g), h = boxHeight(g);
    for (unsigned int row = 0; row < bitmap.rows; row++) {
        const unsigned char *bits = bitmap.buffer + static_cast<long>(row) * bitmap.pitch;
        int y = g.ascent - top + static_cast<int>(row);
        for (unsigned int column = 0; column < bitmap.width; column++) {
            int x = left - g.lbearing + static_cast<int>(column);
            bool ink = bitmap.pixel_mode == FT_PIXEL_MODE_MONO
                           ? bits[column >> 3] & (0x80 >> (column & 7))
                           : bits[column] != 0;
            if (ink && x >= 0 && x < w && y >= 0 && y < h)
                g.bits[y * w + x] = 1;
        }
    }
}

// The glyph FreeType gives a bitmap file for index, with its pixels.
bool loadBitmapGlyph(FT_Face face, FT_UInt index, Glyph &g)
{
    g = Glyph{};
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0)
        return false;
    bitmapMetrics(face->glyph->metrics, g);
    if (!g.exists)
        return true;
    if (!allocateBits(g))
        return false;
    copySlot(face->glyph, face->glyph->bitmap_left, face->glyph->bitmap_top, g);
    return true;
}

// A bitmap file's glyphs for the 256 codes and its default glyph, which
// FreeType keeps as glyph 0 (codes the file lacks map there too).
bool readBitmapGlyphs(FT_Face face, Glyph *glyphs)
{
    // The file's encoding maps raw character codes whatever its registry;
    // FreeType selects it by itself only when it is Unicode.
    if (!face->charmap && face->num_charmaps > 0)
        FT_Set_Charmap(face, face->charmaps[0]);
    if (!loadBitmapGlyph(face, 0, glyphs[DEFAULT_GLYPH]))
        return false;
    for (int c = 0; c < CODES; c++) {
        FT_UInt index = FT_Get_Char_Index(face, static_cast<FT_ULong>(c));
        if (index == 0)
            glyphs[c] = Glyph{};
        else if (!loadBitmapGlyph(face, index, glyphs[c]))
            return false;
    }
    return true;
}

// ---- The server's bitmap scaler ----

// The transform from a source bitmap's pixels to the size asked, and back,
// computed in the order the server computes it: even a factor of 1 can
// come out a hair under 1, which moves edges.
struct ScaleTransform {
    double a, d;        // along x and y
    double invA, invD;  // the inverse
};

ScaleTransform scaleTransform(const FontSizes &size, double dx, double dy)
{
    ScaleTransform t;
    t.a = size.pixelX * (dx / size.pixelX);
    t.d = size.pixelY * (dy / size.pixelY);
    double det = t.a * t.d;
    t.invA = t.d / det;
    t.invD = t.a / det;
    return t;
}

long roundAway(double x)
{
    return x >= 0 ? static_cast<long>(x + .5) : static_cast<long>(x - .5);
}

// A source glyph's metrics under the transform: its corners moved, the
// edges rounded the scaler's way.
void scaleMetrics(const Glyph &from, const ScaleTransform &t, Glyph &to)
{
    to = Glyph{};
    if (!from.exists)
        return;
    to.exists = true;
    double xs[2] = {t.a * from.lbearing, t.a * from.rbearing};
    double ys[2] = {t.d * -from.descent, t.d * from.ascent};
    double left = std::fmin(xs[0], xs[1]), right = std::fmax(xs[0], xs[1]);
    double top = std::fmax(ys[0], ys[1]), bottom = -std::fmin(ys[0], ys[1]);
    to.lbearing = static_cast<int>(std::floor(left));
    to.rbearing = static_cast<int>(std::floor(right + .5));
    to.descent = static_cast<int>(std::ceil(bottom));
    to.ascent = static_cast<int>(std::floor(top + .5));
    to.width = static_cast<int>(roundAway(from.width * t.a));
    // A glyph shrunk to nothing would read as a missing one.
    if (to.width == 0) {
        if (to.rbearing == to.lbearing)
            to.rbearing++;
        if (to.ascent == -to.descent)
            to.ascent++;
    }
}

// Before reducing, the source is blurred with a box filter into greys;
// each output pixel takes the window around it, shrunk at the ends.
void boxFilter(int *grey, int count, int step, int box)
{
    if (box <= 1)
        return;
    const int after = box / 2, before = box - after - 1;
    int *line = static_cast<int *>(std::malloc(sizeof(int) * static_cast<size_t>(count)));
    if (!line)
        return;
    for (int k = 0; k < count; k++) {
        int from = k - before < 0 ? 0 : k - before;
        int to = k + after >= count ? count - 1 : k + after;
        int sum = 0;
        for (int i = from; i <= to; i++)
            sum += grey[i * step];
        line[k] = sum / (to - from + 1);
    }
    for (int k = 0; k < count; k++)
        grey[k * step] = line[k];
    std::free(line);
}

// The scaled glyph's pixels: each new pixel's centre mapped back into the
// source in 16.16 fixed point (the row start cut to an integer, the step
// added along the row); point sampling when enlarging, and when reducing
// blurred greys darkened and turned back into bits by error diffusion.
void scaleBits(const Glyph &from, const ScaleTransform &t, double dx, double dy, Glyph &to)
{
    const int width = boxWidth(from), height = boxHeight(from);
    const int newWidth = boxWidth(to), newHeight = boxHeight(to);
    if (!width || !height || !newWidth || !newHeight)
        return;
    int *grey = nullptr, *errors = nullptr;
    if (dx > 0.0 && dy > 0.0 && (dx < 1.0 || dy < 1.0)) {
        int boxX = width / 2, boxY = height / 2;
        if (std::ceil(1.0 / dx) < boxX)
            boxX = static_cast<int>(std::ceil(1.0 / dx));
        if (std::ceil(1.0 / dy) < boxY)
            boxY = static_cast<int>(std::ceil(1.0 / dy));
        if (boxX > 1 || boxY > 1) {
            grey = static_cast<int *>(std::malloc(sizeof(int) * static_cast<size_t>(width * height)));
            errors = static_cast<int *>(
                std::calloc(static_cast<size_t>(newWidth + 2) * 2, sizeof(int)));
        }
        if (grey && errors) {
            for (int i = 0; i < width * height; i++)
                grey[i] = from.bits[i] ? 255 : 0;
            for (int row = 0; row < height; row++)
                boxFilter(grey + row * width, width, 1, boxX);
            for (int column = 0; column < width; column++)
                boxFilter(grey + column, height, width, boxY);
            // Darker as the blur grows: reduced glyphs rather too bold
            // than too faint to read. A box of 0 (a source one pixel
            // across) darkens to nothing, as on the server.
            const int darken = boxX * boxY * 192;
            for (int i = 0; i < width * height; i++)
                grey[i] = grey[i] * darken / 256 > 255 ? 255 : grey[i] * darken / 256;
        } else {
            std::free(grey);
            std::free(errors);
            grey = errors = nullptr;
        }
    }
    const int32_t stepX = static_cast<int32_t>(t.invA * 65536.0);
    // Two rows of diffused error, each with a slot before and after it.
    int *thisRow = errors ? errors + 1 : nullptr;
    int *nextRow = errors ? errors + newWidth + 3 : nullptr;
    for (int row = 0; row < newHeight; row++) {
        double px = to.lbearing + .5, py = (to.ascent - row) - .5;
        double sx = t.invA * px - from.lbearing;
        double sy = from.ascent - t.invD * py;
        int32_t xValue = static_cast<int32_t>(sx * 65536.0);
        const int32_t yValue = static_cast<int32_t>(sy * 65536.0);
        for (int column = 0; column < newWidth; column++) {
            int x = xValue >> 16, y = yValue >> 16;
            bool inside = x >= 0 && x < width && y >= 0 && y < height;
            if (grey) {
                int value = (inside ? grey[y * width + x] : 0) + thisRow[column] / 16;
                value = value > 255 ? 255 : value < 0 ? 0 : value;
                int error = value >= 128 ? value - 255 : -value;
                if (value >= 128)
                    to.bits[row * newWidth + column] = 1;
                thisRow[column + 1] += error * 7;
                nextRow[column - 1] += error * 3;
                nextRow[column] += error * 5;
                nextRow[column + 1] = error;
            } else if (inside && from.bits[y * width + x]) {
                to.bits[row * newWidth + column] = 1;
            }
            xValue += stepX;
        }
        if (grey) {
            // The error that fell off either end is folded back in.
            nextRow[0] += nextRow[-1];
            nextRow[newWidth - 2] += thisRow[newWidth];
            nextRow[newWidth - 1] += nextRow[newWidth];
            nextRow[newWidth] = 0;
            int *swap = nextRow;
            nextRow = thisRow;
            thisRow = swap;
            nextRow[-1] = nextRow[0] = 0;
        }
    }
    std::free(grey);
    std::free(errors);
}

// The largest ascent and descent over every glyph of a bitmap file,
// beyond the 8-bit codes too: as the file has them, or through the
// scaler's transform (where glyphs it leaves out do not count).
void bitmapBounds(FT_Face face, const ScaleTransform *scaled, int *ascent, int *descent)
{
    for (FT_Long i = 0; i < face->num_glyphs; i++) {
        if (FT_Load_Glyph(face, static_cast<FT_UInt>(i), FT_LOAD_BITMAP_METRICS_ONLY) != 0)
            continue;
        Glyph g, to;
        bitmapMetrics(face->glyph->metrics, g);
        if (scaled) {
            scaleMetrics(g, *scaled, to);
            if (!to.exists)
                continue;
            g = to;
        }
        if (g.ascent > *ascent)
            *ascent = g.ascent;
        if (g.descent > *descent)
            *descent = g.descent;
    }
}

// The glyphs of a bitmap file scaled by (dx, dy) to size, and the largest
// ascent and descent over every glyph of the scaled font.
bool scaleBitmapGlyphs(FT_Face face, const FontSizes &size, double dx, double dy,
                       Glyph *glyphs, int *ascent, int *descent)
{
    Glyph source[GLYPHS] = {};
    bool read = readBitmapGlyphs(face, source);
    const ScaleTransform t = scaleTransform(size, dx, dy);
    for (int i = 0; read && i < GLYPHS; i++) {
        scaleMetrics(source[i], t, glyphs[i]);
        if (glyphs[i].exists && !allocateBits(glyphs[i]))
            read = false;
        else if (glyphs[i].exists)
            scaleBits(source[i], t, dx, dy, glyphs[i]);
    }
    freeGlyphs(source, GLYPHS);
    if (read)
        bitmapBounds(face, &t, ascent, descent);
    return read;
}

// ---- Outline files, as the server's FreeType backend draws them ----

// Codes 0x00-0x1f and 0x7f-0x9f have no glyph name in ISO 8859-1, so the
// server has no glyph for them.
bool namedCode(int c)
{
    return c >= 0x20 && (c < 0x7f || c > 0x9f);
}

// The hinted outline's exact bounding box, each edge rounded to the
// nearest pixel, gives the X box; the hinted advance the width; the mono
// rendering, clipped to the box, the pixels.
bool loadOutlineGlyph(FT_Face face, FT_UInt index, Glyph &g)
{
    g = Glyph{};
    if (FT_Load_Glyph(face, index, FT_LOAD_DEFAULT) != 0 ||
        face->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
        return false;
    FT_BBox box;
    if (FT_Outline_Get_BBox(&face->glyph->outline, &box) != 0)
        return false;
    auto floor64 = [](FT_Pos v) { return v & -64; };
    auto ceil64 = [](FT_Pos v) { return (v + 63) & -64; };
    g.exists = true;
    g.lbearing = static_cast<int>(floor64(box.xMin + 32) / 64);
    g.rbearing = static_cast<int>(floor64(box.xMax + 32) / 64);
    g.ascent = static_cast<int>(floor64(box.yMax + 32) / 64);
    g.descent = static_cast<int>(ceil64(-box.yMin - 32) / 64);
    g.width = static_cast<int>(std::floor(face->glyph->metrics.horiAdvance / 64.0 + .5));
    if (!allocateBits(g))
        return false;
    // FreeType will not render an outline whose height rounds to nothing
    // (a space): the server leaves such a box blank.
    if (ceil64(box.yMax) == floor64(box.yMin) || boxWidth(g) == 0 || boxHeight(g) == 0)
        return true;
    if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0)
        return false;
    copySlot(face->glyph, face->glyph->bitmap_left, face->glyph->bitmap_top, g);
    return true;
}

// The server sets the size from the rounded point size and the integer
// resolutions, and takes the font's bounds over its codes. Registries
// other than ISO 8859-1 are read through the face's Unicode map as well.
bool readOutlineGlyphs(FT_Face face, const FontSizes &size, Glyph *glyphs, int *ascent,
                       int *descent)
{
    FT_F26Dot6 points = static_cast<FT_F26Dot6>(size.pointY * 64 + .5);
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0 ||
        FT_Set_Char_Size(face, points, points, static_cast<FT_UInt>(size.resX),
                         static_cast<FT_UInt>(size.resY)) != 0)
        return false;
    FT_Set_Transform(face, nullptr, nullptr);
    glyphs[DEFAULT_GLYPH] = Glyph{};  // code 0, which has no glyph
    for (int c = 0; c < CODES; c++) {
        FT_UInt index = namedCode(c) ? FT_Get_Char_Index(face, static_cast<FT_ULong>(c)) : 0;
        glyphs[c] = Glyph{};
        if (index != 0 && !loadOutlineGlyph(face, index, glyphs[c]))
            return false;
        if (glyphs[c].exists && glyphs[c].ascent > *ascent)
            *ascent = glyphs[c].ascent;
        if (glyphs[c].exists && glyphs[c].descent > *descent)
            *descent = glyphs[c].descent;
    }
    return true;
}

// What XDrawString draws for a code: its glyph, the default glyph for a
// code the font lacks, or nothing.
const Glyph *glyphFor(const Glyph *glyphs, char c)
{
    const Glyph &g = glyphs[static_cast<unsigned char>(c)];
    return g.exists ? &g : glyphs[DEFAULT_GLYPH].exists ? &glyphs[DEFAULT_GLYPH] : nullptr;
}

// The glyphs of the font the server opens for name, with the largest
// ascent and descent of any glyph (max_bounds). False when there is none
// or it cannot be read.
bool readFont(const char *name, Glyph *glyphs, int *ascent, int *descent)
{
    FontFolder present[16];
    const FontFolder *folders = chosenFolders;
    int count = chosenCount;
    if (!folders) {
        count = presentFontFolders(present, 16);
        folders = present;
    }
    FontSource source;
    FT_Library library;
    if (!findCoreFont(name, folders, count, &source) || FT_Init_FreeType(&library) != 0)
        return false;
    FT_Face face;
    bool read = FT_New_Face(library, source.file, 0, &face) == 0;
    *ascent = *descent = -32768;
    if (read && source.route == FONT_BITMAP) {
        read = face->num_fixed_sizes > 0 && FT_Select_Size(face, 0) == 0 &&
               readBitmapGlyphs(face, glyphs);
        if (read)
            bitmapBounds(face, nullptr, ascent, descent);
    } else if (read && source.route == FONT_SCALED_BITMAP) {
        read = face->num_fixed_sizes > 0 && FT_Select_Size(face, 0) == 0 &&
               scaleBitmapGlyphs(face, source.size, source.scaleX, source.scaleY, glyphs, ascent,
                                 descent);
    } else if (read) {
        read = FT_IS_SCALABLE(face) && readOutlineGlyphs(face, source.size, glyphs, ascent,
                                                         descent);
    }
    // FT_Done_FreeType closes the face with it.
    FT_Done_FreeType(library);
    return read;
}

} // namespace

void useFontFolders(const FontFolder *folders, int count)
{
    chosenFolders = count > 0 ? folders : nullptr;
    chosenCount = count;
}

bool tavockLabelText(const char *font, const char *text, LabelText *label)
{
    *label = LabelText{};
    Glyph glyphs[GLYPHS] = {};
    if (!readFont(font, glyphs, &label->ascent, &label->descent)) {
        freeGlyphs(glyphs, GLYPHS);
        *label = LabelText{};
        return false;
    }
    // The mask holds every glyph's box: they may reach left of the origin
    // and past the advance, never above the ascent or below the descent.
    int left = 0, right = 0, x = 0;
    for (const char *p = text; *p; p++)
        if (const Glyph *g = glyphFor(glyphs, *p)) {
            if (boxWidth(*g) > 0) {
                left = std::min(left, x + g->lbearing);
                right = std::max(right, x + g->rbearing);
            }
            x += g->width;
        }
    label->width = x;
    label->left = left;
    label->top = -label->ascent;
    label->maskWidth = right - left;
    label->maskHeight = std::max(label->ascent + label->descent, 0);
    size_t size = static_cast<size_t>(label->maskWidth) * static_cast<size_t>(label->maskHeight);
    label->mask = static_cast<unsigned char *>(std::calloc(size ? size : 1, 1));
    x = -left;
    for (const char *p = text; *p && label->mask; p++) {
        const Glyph *g = glyphFor(glyphs, *p);
        if (!g)
            continue;
        // Every box lies inside the mask: its pixels go in as they are.
        for (int row = 0; row < boxHeight(*g); row++)
            for (int column = 0; column < boxWidth(*g); column++)
                if (g->bits[row * boxWidth(*g) + column])
                    label->mask[(label->ascent - g->ascent + row) * label->maskWidth + x +
                                g->lbearing + column] = 1;
        x += g->width;
    }
    freeGlyphs(glyphs, GLYPHS);
    if (!label->mask)
        *label = LabelText{};
    return label->mask != nullptr;
}

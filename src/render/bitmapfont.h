// The label font without an X server: the font the server would open for a
// core font name (render/fontpath.h), its glyphs made as the server makes
// them (a bitmap as it is, a bitmap through the server's scaler, an
// outline through FreeType as the server's FreeType backend draws it),
// kept as one bitmap per 8-bit code. Measures and draws text as
// XLoadQueryFont, XTextWidth and XDrawString do; draws onto a mask only.
#pragma once

#include "render/fontpath.h"

// What XDrawString draws for one 8-bit code: the glyph, the default glyph
// for a code the font lacks, or nothing (an empty box and no width).
struct FontGlyph {
    int lbearing, rbearing;  // the box's left and right edge from the origin
    int ascent, descent;     // the box's top above and bottom below the baseline
    int width;               // the advance
    int ink;                 // where the box's pixels start in BitmapFont::ink
};

struct BitmapFont {
    bool open;               // false when no font was found
    int ascent;              // largest ascent of any glyph (max_bounds.ascent)
    int descent;             // largest descent of any glyph (max_bounds.descent)
    FontGlyph glyphs[256];   // by code
    unsigned char *ink;      // every box's pixels, one byte each, rows of box width
};

// Finds name along the folders the reader uses (the server's default path
// as present) and makes its glyphs. False (font.open false) when there is
// none or it cannot be read; prints nothing.
bool openBitmapFont(const char *name, BitmapFont *font);
// Frees the glyphs.
void closeBitmapFont(BitmapFont *font);

// For tests that pin the folders a server reads: the reader uses these
// instead of the default path (count 0 goes back to the default).
void useFontFolders(const FontFolder *folders, int count);

// XTextWidth of text (8-bit characters, missing ones as the default glyph).
int bitmapTextWidth(const BitmapFont &font, const char *text);

// Sets to 1 the bytes of mask (width x height, one byte a pixel, rows of
// width bytes) that XDrawString would set drawing text with its left end
// at x and its baseline at y. Pixels outside the mask are left out.
void drawBitmapText(const BitmapFont &font, const char *text, int x, int y, unsigned char *mask,
                    int width, int height);

// The functions above, as the separately loaded font reader hands them out
// (a clock without a label never loads FreeType).
struct BitmapFontCalls {
    bool (*open)(const char *name, BitmapFont *font);
    void (*close)(BitmapFont *font);
    int (*width)(const BitmapFont &font, const char *text);
    void (*draw)(const BitmapFont &font, const char *text, int x, int y, unsigned char *mask,
                 int width, int height);
};
extern "C" const BitmapFontCalls *tavockBitmapFont();

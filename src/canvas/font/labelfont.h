// The label font without an X server: the font the server would open for a
// core font name (fontpath.h), its glyphs made as the server makes
// them (a bitmap as it is, a bitmap through the server's scaler, an
// outline through FreeType as the server's FreeType backend draws it),
// kept as one bitmap per 8-bit code. Measures and draws text as
// XLoadQueryFont, XTextWidth and XDrawString do; draws onto a mask only.
#pragma once

#include "canvas/font/fontpath.h"

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

// The label's text in its font, as the module hands it to the canvas.
struct LabelText {
    int ascent, descent;  // the font's largest ascent and descent (max_bounds)
    int width;            // XTextWidth of the text
    int left, top;        // the mask's top left corner from the text's origin on its baseline
    int maskWidth, maskHeight;
    unsigned char *mask;  // maskWidth x maskHeight bytes, 1 where XDrawString inks; malloc'd
};

// The font reader's one entry, in the module that only a label loads (a
// clock without one never maps FreeType): measures text in the core font
// named and draws it into a mask. False, with nothing to free, when the
// font is not found or cannot be read; prints nothing.
extern "C" bool tavockLabelText(const char *font, const char *text, LabelText *label);
typedef bool (*LabelTextCall)(const char *font, const char *text, LabelText *label);

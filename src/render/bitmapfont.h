// The label font without an X server: a core font name resolved the way
// the server resolves it among the bitmap font folders of its default font
// path, and the PCF file read with FreeType. Measures and draws text as
// XLoadQueryFont, XTextWidth and XDrawString do; draws onto a mask only.
#pragma once

#include <ft2build.h>
#include FT_FREETYPE_H

#include <cstddef>

struct BitmapFont {
    FT_Library library;  // FreeType, for this font alone
    FT_Face face;        // the PCF file, null when no font was found
    int ascent;          // largest ascent of any glyph (max_bounds.ascent)
    int descent;         // largest descent of any glyph (max_bounds.descent)
};

// One folder of the server's font path. Bitmap fonts serve as sources for
// scaled sizes only in folders listed without ":unscaled".
struct FontFolder {
    const char *path;
    bool scaled;
};

// The default font path of the X server on Debian, Type1 left out (its
// outline fonts need a renderer this clock does not have).
extern const FontFolder coreFontPath[];
extern const int coreFontPathCount;

// The font file the server opens for name among the folders given, in
// their order: fonts.dir names and fonts.alias aliases (followed again
// from the first folder, as the server does), matched case-insensitively
// with "*" and "?" wildcards, the first match in the server's name order.
// A name the server only meets by scaling a bitmap gets the bitmap of the
// nearest size instead. False when nothing matches.
bool findFontFile(const char *name, const FontFolder *folders, int count, char *path,
                  size_t pathSize);

// The server's wildcard match of a lower-case pattern against a name.
bool fontNameMatches(const char *pattern, const char *name);
// The server's order of font names: runs of digits compare as numbers.
int compareFontNames(const char *a, const char *b);

// Finds name on coreFontPath and opens it. False (font.face null) when
// there is none or FreeType cannot read it; prints nothing.
bool openBitmapFont(const char *name, BitmapFont *font);
// Closes the font and its FreeType.
void closeBitmapFont(BitmapFont *font);

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

// Core font names to font files, as the X server's font path answers them:
// its folders' fonts.dir and fonts.alias, the order in which it tries
// them, how it completes a name's sizes and which bitmap it scales for a
// size no file has. Reads folders and names only; no glyph is touched here.
#pragma once

#include <cstddef>

// One element of the server's font path. Bitmap fonts serve as sources
// for scaled sizes only in folders listed without ":unscaled".
struct FontFolder {
    const char *path;
    bool scaled;
};

// The X server's compiled-in font path on Debian, in its order.
extern const FontFolder coreFontPath[];
extern const int coreFontPathCount;

// The elements of coreFontPath that the server keeps at start-up (a
// folder with neither fonts.dir nor fonts.alias is dropped), at most max.
int presentFontFolders(FontFolder *folders, int max);

// A scaled font's size as the server completes a name: pixel and point
// sizes along x and y, rounded its way, and the resolution in dots per
// inch.
struct FontSizes {
    double pixelX, pixelY;
    double pointX, pointY;
    int resX, resY;
};

enum FontRoute {
    FONT_BITMAP,         // a bitmap file used as it is
    FONT_SCALED_BITMAP,  // a bitmap file scaled (or copied 1:1) by the server's bitmap scaler
    FONT_OUTLINE,        // an outline file drawn through FreeType at a size
};

enum { FONT_FILE_SIZE = 1024 };

// What the server opens for a name.
struct FontSource {
    FontRoute route;
    char file[FONT_FILE_SIZE];  // the font file's path
    FontSizes size;             // scaled and outline: the size asked, completed
    double scaleX, scaleY;      // scaled bitmap: the factors from the file's size (1 for 1:1)
};

// Resolves name along the folders given, in their order, as the server
// does. False when the server would answer BadName.
bool findCoreFont(const char *name, const FontFolder *folders, int count, FontSource *source);

// The server's wildcard match of a lower-case pattern against a name.
bool fontNameMatches(const char *pattern, const char *name);
// The server's order of font names: runs of digits compare as numbers.
int compareFontNames(const char *a, const char *b);
// The server's rounding of every scaled size to 10 significant bits (it
// adds one unit of the 10th bit before it cuts, so even 24.0 grows).
double roundFontSize(double value);

// The parts of an XLFD name that sizes are made of: pixel and point size
// (tenths), resolutions and average width, each -1 for "*" and 0 when
// empty or zero.
struct XlfdValues {
    int pixel, point, resX, resY, width;
};
// Parses a 14-field XLFD name. False for any other name, and for names
// whose sizes are matrices (which this reader does not scale).
bool parseXlfd(const char *name, XlfdValues *values);
// Completes the sizes of values as the server does for a scaled name, with
// resolution the one it assumes when the name gives neither a resolution
// nor both sizes. False where the server rejects the sizes.
bool completeFontSizes(const XlfdValues &values, int resolution, FontSizes *sizes);

// The four built-in indicator images (day, AM/PM, digits, months) and their
// conversion to pixmaps of the screen's depth. The pixel rows live in
// sprite_images.cpp; frame composition only reads the finished pixmaps.
#pragma once

#include <X11/Xlib.h>
#include <X11/xpm.h>

struct SpriteSheet {
    char **image;              // header, two colour lines, pixel rows
    Pixmap pixmap;             // the converted image
    Pixmap shapeMask;          // returned by libXpm, never read
    XpmAttributes attributes;  // pixels and extensions kept for the run
};

// The one table of XPM lines, the four images back to back.
enum {
    SPRITE_TABLE_LINES = 212,
    DAY_SHEET_LINE = 0,
    AMPM_SHEET_LINE = 46,
    DIGIT_SHEET_LINE = 62,
    MONTH_SHEET_LINE = 136,
};
extern const char *spriteTable[SPRITE_TABLE_LINES];

// The four sheets, in the order they are made.
enum { DAY_SHEET, AMPM_SHEET, DIGIT_SHEET, MONTH_SHEET, SPRITE_SHEET_COUNT };

// Where a sheet's image starts and which pixel characters take the
// background and the ink colour.
struct SpriteSheetKind {
    int headerLine;      // first line of the image in spriteTable
    char background;     // pixel character of the background colour
    char ink;            // pixel character of the ink colour
    const char *what;    // the sheet's name in the failure message
};
extern const SpriteSheetKind spriteSheetKinds[SPRITE_SHEET_COUNT];

// A colour line is "<char> c <colour>"; colour fields hold up to 63
// characters, so a line needs 4 + 63 + 1 bytes.
enum { COLOR_LINE_SIZE = 4 + 63 + 1 };

// Writes "<pixelChar> c <colour>" into line (COLOR_LINE_SIZE bytes), cut to
// fit if the colour text were ever longer than a colour field.
void formatColorLine(char *line, char pixelChar, const char *colour);

// Colours the sheet of the given kind (DAY_SHEET ... MONTH_SHEET) with the
// background and ink colour texts and converts it with libXpm. Returns
// libXpm's status (0 is success).
int createSpriteSheet(Display *display, Window root, SpriteSheet &sheet, int kind,
                      const char *backgroundColor, const char *inkColor);

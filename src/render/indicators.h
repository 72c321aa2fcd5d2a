// The day, date and AM/PM indicators, for either screen: the four built-in
// sprite sheets (one table of XPM lines, coloured from the settings) and
// which window of which sheet goes where for a broken-down time. How a
// sheet becomes pixels and how a window is copied is the screen's.
#pragma once

#include <ctime>

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

// The ink colour text of a sheet, from the settings.
const char *sheetInk(int kind);

// A colour line is "<char> c <colour>"; colour fields hold up to 63
// characters, so a line needs 4 + 63 + 1 bytes.
enum { COLOR_LINE_SIZE = 4 + 63 + 1 };

// Writes "<pixelChar> c <colour>" into line (COLOR_LINE_SIZE bytes), cut to
// fit if the colour text were ever longer than a colour field.
void formatColorLine(char *line, char pixelChar, const char *colour);

// The sheet of the given kind could not be made (libXpm's status): one line
// on standard output, flushed at once; the caller ends the clock with
// status 0.
void reportSheetFailure(int status, int kind);

// One window of a sheet copied opaquely onto the frame.
struct IndicatorCopy {
    int sheet;          // DAY_SHEET ... MONTH_SHEET
    int sourceY;        // the window's top row in the sheet
    int width, height;  // its size
    int x, y;           // where it lands on a frame of the clock's own size
};

enum { MAX_INDICATOR_COPIES = 7 };

// The copies for time t on a width x height frame, in drawing order; the
// count is returned.
int indicatorCopies(const struct tm &t, int width, int height,
                    IndicatorCopy copies[MAX_INDICATOR_COPIES]);

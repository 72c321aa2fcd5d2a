// Colouring and conversion of the indicator sprite sheets. The images
// themselves are in sprite_images.cpp.
#include "display/sprites.h"

#include <cstdio>

namespace {

struct SheetColours {
    int headerLine;      // first line of the image in spriteTable
    char background;     // pixel character of the background colour
    char ink;            // pixel character of the ink colour
};

// "." is the ink of the digits but the background of the months.
const SheetColours sheetColours[4] = {
    {DAY_SHEET_LINE, 'c', 'l'},
    {AMPM_SHEET_LINE, 'c', 'l'},
    {DIGIT_SHEET_LINE, 'c', '.'},
    {MONTH_SHEET_LINE, '.', 'o'},
};

// The table as libXpm takes it (char **), with the eight colour lines
// pointing into run-long buffers once the sheets are coloured.
char *imageLines[SPRITE_TABLE_LINES];
char colorLines[4][2][COLOR_LINE_SIZE];

} // namespace

void formatColorLine(char *line, char pixelChar, const char *colour)
{
    std::snprintf(line, COLOR_LINE_SIZE, "%c c %s", pixelChar, colour);
}

int createSpriteSheet(Display *display, Window root, SpriteSheet &sheet, int headerLine,
                      const char *backgroundColor, const char *inkColor)
{
    int which = 0;
    while (which < 3 && sheetColours[which].headerLine != headerLine)
        which++;
    const SheetColours &layout = sheetColours[which];

    // libXpm's prototype takes char ** but never writes through it.
    for (int i = 0; i < SPRITE_TABLE_LINES; i++)
        if (!imageLines[i])
            imageLines[i] = const_cast<char *>(spriteTable[i]);
    formatColorLine(colorLines[which][0], layout.background, backgroundColor);
    formatColorLine(colorLines[which][1], layout.ink, inkColor);
    imageLines[layout.headerLine + 1] = colorLines[which][0];
    imageLines[layout.headerLine + 2] = colorLines[which][1];
    sheet.image = imageLines + layout.headerLine;

    // No visual, colormap or depth given: libXpm takes the screen's defaults.
    sheet.attributes.valuemask |= XpmReturnPixels | XpmReturnExtensions;
    return XpmCreatePixmapFromData(display, root, sheet.image, &sheet.pixmap, &sheet.shapeMask,
                                   &sheet.attributes);
}

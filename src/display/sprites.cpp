// The indicator sheets converted to pixmaps by libXpm on the X server.
#include "display/sprites.h"

namespace {

// The table as libXpm takes it (char **), with the eight colour lines
// pointing into run-long buffers once the sheets are coloured.
char *imageLines[SPRITE_TABLE_LINES];
char colorLines[SPRITE_SHEET_COUNT][2][COLOR_LINE_SIZE];

} // namespace

int createSpriteSheet(Display *display, Window root, SpriteSheet &sheet, int kind,
                      const char *backgroundColor, const char *inkColor)
{
    const SpriteSheetKind &layout = spriteSheetKinds[kind];

    // libXpm's prototype takes char ** but never writes through it.
    for (int i = 0; i < SPRITE_TABLE_LINES; i++)
        if (!imageLines[i])
            imageLines[i] = const_cast<char *>(spriteTable[i]);
    formatColorLine(colorLines[kind][0], layout.background, backgroundColor);
    formatColorLine(colorLines[kind][1], layout.ink, inkColor);
    imageLines[layout.headerLine + 1] = colorLines[kind][0];
    imageLines[layout.headerLine + 2] = colorLines[kind][1];
    sheet.image = imageLines + layout.headerLine;

    // No visual, colormap or depth given: libXpm takes the screen's defaults.
    sheet.attributes.valuemask |= XpmReturnPixels | XpmReturnExtensions;
    return XpmCreatePixmapFromData(display, root, sheet.image, &sheet.pixmap, &sheet.shapeMask,
                                   &sheet.attributes);
}

// The X resources of the running clock and setupDisplay, which builds them
// all once at start-up, up to the first frame.
#pragma once

#include "display/scaling.h"
#include "display/sprites.h"

#include <X11/Xlib.h>

struct ClockDisplay {
    Display *display;              // the open connection
    int screenNumber;              // default screen
    Window rootWindow;             // root of that screen
    unsigned int depth;            // default depth
    unsigned long backgroundPixel; // dial background
    unsigned long foregroundPixel; // ticks and GC default
    XFontStruct *labelFont;        // label font, null when the label is off
    Font labelFontId;              // its font id
    SpriteSheet daySheet;          // day-of-week glyphs
    SpriteSheet ampmSheet;         // AM and PM glyphs
    SpriteSheet digitSheet;        // digits 0-9
    SpriteSheet monthSheet;        // month names
    Pixmap facePixmap;             // the static dial face
    Pixmap framePixmap;            // every frame is composed here
    Window mainWindow;             // the top-level window
    Window iconWindow;             // the dock tile
    GC gc;                         // the one graphics context
    XGCValues gcValues;            // gc's value record
    Atom wmProtocols;              // "WM_PROTOCOLS"
    Atom wmDeleteWindow;           // "WM_DELETE_WINDOW"
    unsigned long strokePixels[3]; // per hand: stroke layer
    unsigned long outlinePixels[3];// per hand: outline layer
    unsigned long fillPixels[3];   // per hand: fill layer
    unsigned long labelPixel;      // label colour
    int dialCenterX, dialCenterY;  // dial centre in window pixels
    int dialRadiusX, dialRadiusY;  // dial radii
    int labelX, labelY;            // label left end and baseline, 0 without label
    unsigned int scaledWidth;      // window size: the frame's times the scale
    unsigned int scaledHeight;
    ScaledDrawing scaling;         // RENDER pictures of -scale and -smooth
};

extern ClockDisplay clockDisplay;

// Opens the display named in the settings and builds everything that draws,
// up to the pictures of the scaled drawing; argv goes to WM_COMMAND. Settles
// labelOn, the window size, scale and smooth in the settings on the way.
void setupDisplay(int argc, char **argv);

// Where the dial and the label go in a W x H window.
struct DialLayout {
    int centerX, centerY;  // dial centre
    int radiusX, radiusY;  // dial radii (no lower bound: may be negative)
    int labelX, labelY;    // label left end and baseline, 0 without label
};

DialLayout dialLayout(int width, int height, int drawDayDate, int labelOn, int labelTop,
                      int labelHeight, int labelWidth);

// Keeps a layout in a record with the dial and label fields of
// ClockDisplay (the X clock's, or the client-side canvas's).
template <typename Record>
void keepLayout(Record &record, const DialLayout &layout)
{
    record.dialCenterX = layout.centerX;
    record.dialCenterY = layout.centerY;
    record.dialRadiusX = layout.radiusX;
    record.dialRadiusY = layout.radiusY;
    record.labelX = layout.labelX;
    record.labelY = layout.labelY;
}

// Largest window or pixmap side the clock accepts from a geometry string:
// drawing coordinates travel as signed 16-bit values, so beyond this the
// bevel and the indicators at the far edges could no longer be addressed.
enum { MAX_WINDOW_SIDE = 32767 };

// The window size after a geometry string: a width or height it gives
// replaces the current one when it lies within 1..MAX_WINDOW_SIDE (0 or a
// larger side would end the clock with an X protocol error). Returns the
// XParseGeometry mask; an empty string parses nothing and returns 0.
int windowSizeFromGeometry(const char *geometry, unsigned int *width, unsigned int *height);

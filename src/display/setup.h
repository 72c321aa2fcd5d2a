// The X resources of the running clock and setupDisplay, which builds them
// all once at start-up, up to the first frame.
#pragma once

#include "display/scaling.h"
#include "display/sprites.h"
#include "render/layers.h"

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
    SpriteSheet sheets[SPRITE_SHEET_COUNT]; // day, AM/PM, digits, months
    Pixmap facePixmap;             // the static dial face
    Pixmap framePixmap;            // every frame is composed here
    Window mainWindow;             // the top-level window
    Window iconWindow;             // the dock tile
    GC gc;                         // the one graphics context
    XGCValues gcValues;            // gc's value record
    Atom wmProtocols;              // "WM_PROTOCOLS"
    Atom wmDeleteWindow;           // "WM_DELETE_WINDOW"
    unsigned long layerPixels[HAND_LAYERS][3]; // per layer, per hand
    unsigned long labelPixel;      // label colour
    unsigned int scaledWidth;      // window size: the frame's times the scale
    unsigned int scaledHeight;
    ScaledDrawing scaling;         // RENDER pictures of -scale and -smooth
};

extern ClockDisplay clockDisplay;

// Opens the display named in the settings and builds everything that draws,
// up to the pictures of the scaled drawing; argv goes to WM_COMMAND. Settles
// labelOn, the window size, scale and smooth in the settings on the way.
void setupDisplay(int argc, char **argv);

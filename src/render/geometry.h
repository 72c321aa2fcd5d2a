// Hand shape factors, hand geometry and line widths: from the time shown to
// the three hands' stroke lines and triangles. Draws nothing, talks to no
// server, reads no clock.
#pragma once

#include <X11/Xlib.h>
#include <ctime>

// Per-hand fractions of the dial radii (index second, minute, hour).
struct HandShape {
    float halfWidth[3];  // half the width of the triangle's base
    float length[3];     // distance of the tip from the centre
    float tail[3];       // distance of the tail point, away from the tip
    int strokeWidth[3];  // the stroke layer's line width on the clock's own dial
    int outlineWidth[3]; // the outline layer's
};

// Per-hand drawing data in window pixels.
struct HandGeometry {
    int line[3][4];        // x1, y1 (tail point), x2, y2 (tip)
    XPoint polygon[3][4];  // corner A, corner B, tip, corner A again
};

// The dial the hands turn on, in the pixels they are drawn at.
struct Dial {
    int centerX, centerY;
    int radiusX, radiusY;
};

extern HandShape handShape;
extern HandGeometry handGeometry;

// Fixes handShape from the settings and the dial of clockLayout; neither
// changes during a run, so once is enough.
void setHandShape();

// The dial the hands are computed on for a frame magnified n times: the
// clock's own, or with smooth hands (drawn at the frame's resolution) the
// dial magnified n times.
Dial handDial(int n);

// The hands in the order they are drawn, hour first; the second hand only
// when it is shown. Returns the count.
int handsInDrawingOrder(int hands[3]);

// The hands for the time shown, on dial, after handShape.
void computeHandGeometry(const struct tm &shown, const Dial &dial, HandGeometry &geometry);

// Positions of the three hands for a (shifted) broken-down time.
void handPositions(const struct tm &t, int positions[3]);

// Line and polygon of one hand at a position, on the dial cx, cy, rx, ry.
void computeHandPoints(int position, float halfWidth, float length, float tail,
                       int cx, int cy, int rx, int ry,
                       int line[4], XPoint polygon[4]);

// Line widths in whole pixels for hand 0 (second), 1 (minute) or 2 (hour)
// on a dial of radii rx, ry. 0 asks the server for its thin line.
int strokeWidth(int hand, int thinSeconds, unsigned int handThickness, int rx, int ry);
int outlineWidth(int hand, unsigned int outThickness, int rx, int ry);

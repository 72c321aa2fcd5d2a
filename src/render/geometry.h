// Hand shape factors and hand geometry: from the clock reading to the three
// hands' stroke lines and triangles. Draws nothing, talks to no server.
#pragma once

#include <X11/Xlib.h>
#include <ctime>

// Per-hand fractions of the dial radii (index second, minute, hour).
struct HandShape {
    float halfWidth[3];  // half the width of the triangle's base
    float length[3];     // distance of the tip from the centre
    float tail[3];       // distance of the tail point, away from the tip
};

// Per-hand drawing data in window pixels.
struct HandGeometry {
    int line[3][4];        // x1, y1 (tail point), x2, y2 (tip)
    XPoint polygon[3][4];  // corner A, corner B, tip, corner A again
};

extern HandShape handShape;
extern HandGeometry handGeometry;

// The broken-down local time of the last redraw, hour already shifted.
// Null until the first redraw, and after a clock reading that localtime
// could not convert.
extern struct tm *localTime;

// Set by the main loop: it is told when the system's time zone file
// changes (zoneWatched), and it was (zoneChanged, cleared once the zone has
// been read again). Unwatched, the zone is read again once a minute.
extern bool zoneWatched;
extern bool zoneChanged;

void setHandShape();

// Refreshes localTime and handGeometry from currentTime. Returns false,
// leaving handGeometry as it was, when localtime cannot convert the reading.
bool computeHandGeometry();

// Direction of a position in sixtieths of a turn, clockwise from 12:
// single-precision degrees, double-precision radians and trigonometry,
// results rounded to single precision. Shared by the hands and the ticks.
void dialDirection(int position, float *c, float *s);

// The hour moved by shift hours, kept within 0..23.
int shiftedHour(int hour, int shift);

// Positions of the three hands for a (shifted) broken-down time.
void handPositions(const struct tm &t, int positions[3]);

// Line and polygon of one hand at a position, on the dial cx, cy, rx, ry.
void computeHandPoints(int position, float halfWidth, float length, float tail,
                       int cx, int cy, int rx, int ry,
                       int line[4], XPoint polygon[4]);

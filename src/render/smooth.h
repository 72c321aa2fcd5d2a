// Anti-aliased hands: each layer of a hand becomes a few triangles that
// RENDER fills with coverage, over a frame at window resolution. The shape
// functions are plain geometry, so they can be checked without a server.
#pragma once

#include <X11/extensions/Xrender.h>

// The band that a line of the given width covers from (x1, y1) to
// (x2, y2), ending flat at both points as a butt-capped line does, as two
// triangles. Returns 0 (nothing to draw) for a line of no length.
int lineBand(double x1, double y1, double x2, double y2, double width, XTriangle band[2]);

// Two triangles per side, and one more at each bevelled corner.
enum { MAX_OUTLINE_TRIANGLES = 3 * 2 + 3 };

// What a closed line of the given width around the triangle covers, with
// mitred corners, bevelled where a corner is sharper than 11 degrees (as the
// X server joins wide lines); the inside of the triangle stays empty. When
// the width leaves no inside, the whole outer edge is filled; a triangle
// without area is the band of its longest side. Returns the count.
int triangleOutline(const XPointDouble corner[3], double width,
                    XTriangle outline[MAX_OUTLINE_TRIANGLES]);

// Draws hand i's layers that are on (fill, stroke, outline, in this order)
// anti-aliased onto the window-sized frame. handGeometry must have been
// computed for the dial at window resolution.
void drawSmoothHand(int i);

// The hands' layers as triangles, for anti-aliased hands on either screen
// (RENDER's triangles on X, pixman's on the canvas) and the canvas's wide
// plain lines. Plain geometry: no server is involved.
#pragma once

#include "render/geometry.h"
#include "render/layers.h"

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

// The triangles of one layer of a hand of hands (computed on a dial
// magnified n times, see handDial), with the layer's width from handShape
// magnified n times and at least n; a fill without area is no triangle.
// Returns the count.
int handLayerTriangles(int hand, int layer, const HandGeometry &hands, int n,
                       XTriangle shape[MAX_OUTLINE_TRIANGLES]);

// The hands' layers as triangles. Each layer is the same shape the plain
// drawing makes (a butt-capped line, a filled triangle, a closed mitred
// outline), cut into triangles that are filled with coverage in one go:
// the hands keep their geometry, styles and pixels and only lose their
// jagged edges. Coverage of the triangles of one layer adds up into a
// single mask, so the seams between them leave no trace.
#include "render/shapes.h"

#include "settings/settings.h"

#include <cmath>

namespace {

XPointDouble at(double x, double y)
{
    XPointDouble p;
    p.x = x;
    p.y = y;
    return p;
}

XTriangle triangle(const XPointDouble &a, const XPointDouble &b, const XPointDouble &c)
{
    XTriangle t;
    t.p1.x = XDoubleToFixed(a.x);
    t.p1.y = XDoubleToFixed(a.y);
    t.p2.x = XDoubleToFixed(b.x);
    t.p2.y = XDoubleToFixed(b.y);
    t.p3.x = XDoubleToFixed(c.x);
    t.p3.y = XDoubleToFixed(c.y);
    return t;
}

double cross(const XPointDouble &o, const XPointDouble &a, const XPointDouble &b)
{
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// X joins wide lines with a bevel where they meet at less than 11 degrees.
const double MITER_LIMIT = 11.0 * M_PI / 180.0;

} // namespace

int lineBand(double x1, double y1, double x2, double y2, double width, XTriangle band[2])
{
    double dx = x2 - x1, dy = y2 - y1;
    double length = std::hypot(dx, dy);
    if (length == 0.0)
        return 0;
    double nx = -dy / length * width * 0.5, ny = dx / length * width * 0.5;
    XPointDouble a = at(x1 + nx, y1 + ny), b = at(x2 + nx, y2 + ny);
    XPointDouble c = at(x2 - nx, y2 - ny), d = at(x1 - nx, y1 - ny);
    band[0] = triangle(a, b, c);
    band[1] = triangle(a, c, d);
    return 2;
}

int triangleOutline(const XPointDouble corner[3], double width,
                    XTriangle outline[MAX_OUTLINE_TRIANGLES])
{
    double side[3], perimeter = 0.0;
    for (int i = 0; i < 3; i++) {
        const XPointDouble &a = corner[i], &b = corner[(i + 1) % 3];
        side[i] = std::hypot(b.x - a.x, b.y - a.y);
        perimeter += side[i];
    }
    double doubleArea = std::fabs(cross(corner[0], corner[1], corner[2]));
    // Without area (a hand too thin for its triangle to open) the closed
    // line runs there and back along the longest side, turning flat at its
    // ends: the band of that side.
    if (doubleArea <= 1e-9 * perimeter * perimeter) {
        int longest = 0;
        for (int i = 1; i < 3; i++)
            if (side[i] > side[longest])
                longest = i;
        const XPointDouble &a = corner[longest], &b = corner[(longest + 1) % 3];
        return lineBand(a.x, a.y, b.x, b.y, width, outline);
    }

    const double h = width * 0.5;
    // Per side i (corner i to corner i + 1): unit direction and the normal
    // that points away from the opposite corner.
    double dx[3], dy[3], nx[3], ny[3];
    for (int i = 0; i < 3; i++) {
        const XPointDouble &a = corner[i], &b = corner[(i + 1) % 3], &c = corner[(i + 2) % 3];
        dx[i] = (b.x - a.x) / side[i];
        dy[i] = (b.y - a.y) / side[i];
        nx[i] = dy[i];
        ny[i] = -dx[i];
        if (nx[i] * (c.x - a.x) + ny[i] * (c.y - a.y) > 0) {
            nx[i] = -nx[i];
            ny[i] = -ny[i];
        }
    }

    // Each corner's outer point on the side before it and on the side after
    // it (the same mitre point, or the two ends of a bevel), and its inner
    // point, where the two sides' inner edges meet: along the bisector, at
    // h / cos(half the turn) from the corner.
    XPointDouble before[3], after[3], inner[3];
    bool bevelled[3];
    for (int i = 0; i < 3; i++) {
        int b = (i + 2) % 3;
        double k = h / (1.0 + nx[b] * nx[i] + ny[b] * ny[i]);
        double mx = k * (nx[b] + nx[i]), my = k * (ny[b] + ny[i]);
        inner[i] = at(corner[i].x - mx, corner[i].y - my);
        double cosine = -(dx[b] * dx[i] + dy[b] * dy[i]);
        double angle = std::acos(std::fmax(-1.0, std::fmin(1.0, cosine)));
        bevelled[i] = angle < MITER_LIMIT;
        if (bevelled[i]) {
            before[i] = at(corner[i].x + h * nx[b], corner[i].y + h * ny[b]);
            after[i] = at(corner[i].x + h * nx[i], corner[i].y + h * ny[i]);
        } else {
            before[i] = after[i] = at(corner[i].x + mx, corner[i].y + my);
        }
    }

    int n = 0;
    // The line covers the whole triangle once half its width reaches the
    // inscribed circle (radius: twice the area over the perimeter): fill
    // the outer edge, a convex polygon, as a fan.
    if (h >= doubleArea / perimeter) {
        XPointDouble ring[6];
        int points = 0;
        for (int i = 0; i < 3; i++) {
            ring[points++] = before[i];
            if (bevelled[i])
                ring[points++] = after[i];
        }
        for (int k = 1; k + 1 < points; k++)
            outline[n++] = triangle(ring[0], ring[k], ring[k + 1]);
        return n;
    }
    for (int i = 0; i < 3; i++) {
        int next = (i + 1) % 3;
        outline[n++] = triangle(after[i], before[next], inner[next]);
        outline[n++] = triangle(after[i], inner[next], inner[i]);
        if (bevelled[i])
            outline[n++] = triangle(before[i], after[i], inner[i]);
    }
    return n;
}

int handLayerTriangles(int hand, int layer, const HandGeometry &hands, int n,
                       XTriangle shape[MAX_OUTLINE_TRIANGLES])
{
    // Integer points name pixels, whose centres lie half a pixel further on;
    // a magnified pixel's centre lies half a block further on.
    const double centre = 0.5 * n;
    const XPoint *polygon = hands.polygon[hand];
    const int *line = hands.line[hand];
    XPointDouble corner[3];
    for (int k = 0; k < 3; k++)
        corner[k] = at(polygon[k].x + centre, polygon[k].y + centre);
    // Widths as the plain frame has them, magnified; its thin line (width 0)
    // is one pixel wide.
    switch (layer) {
    case FILL_LAYER:
        if (cross(corner[0], corner[1], corner[2]) == 0.0)
            return 0;
        shape[0] = triangle(corner[0], corner[1], corner[2]);
        return 1;
    case STROKE_LAYER: {
        int width = handShape.strokeWidth[hand];
        return lineBand(line[0] + centre, line[1] + centre, line[2] + centre, line[3] + centre,
                        n * (width > 0 ? width : 1), shape);
    }
    default: {
        int width = handShape.outlineWidth[hand];
        return triangleOutline(corner, n * (width > 0 ? width : 1), shape);
    }
    }
}

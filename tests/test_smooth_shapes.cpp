// The shapes of the anti-aliased hands, without a server: what each set of
// triangles covers, point by point, and that no part is covered twice.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "render/shapes.h"

#include <cmath>
#include <vector>

namespace {

using Shape = std::vector<XTriangle>;

double fixed(XFixed v)
{
    return XFixedToDouble(v);
}

double area(const XTriangle &t)
{
    return std::fabs((fixed(t.p2.x) - fixed(t.p1.x)) * (fixed(t.p3.y) - fixed(t.p1.y)) -
                     (fixed(t.p2.y) - fixed(t.p1.y)) * (fixed(t.p3.x) - fixed(t.p1.x))) / 2;
}

double side(double px, double py, const XPointFixed &a, const XPointFixed &b)
{
    return (fixed(b.x) - fixed(a.x)) * (py - fixed(a.y)) -
           (fixed(b.y) - fixed(a.y)) * (px - fixed(a.x));
}

bool covers(const Shape &shape, double x, double y)
{
    for (const XTriangle &t : shape) {
        double a = side(x, y, t.p1, t.p2), b = side(x, y, t.p2, t.p3), c = side(x, y, t.p3, t.p1);
        if ((a >= 0 && b >= 0 && c >= 0) || (a <= 0 && b <= 0 && c <= 0))
            return true;
    }
    return false;
}

double totalArea(const Shape &shape)
{
    double sum = 0;
    for (const XTriangle &t : shape)
        sum += area(t);
    return sum;
}

Shape band(double x1, double y1, double x2, double y2, double width)
{
    Shape s(2);
    s.resize(static_cast<size_t>(lineBand(x1, y1, x2, y2, width, s.data())));
    return s;
}

Shape outline(std::vector<XPointDouble> corners, double width)
{
    Shape s(MAX_OUTLINE_TRIANGLES);
    s.resize(static_cast<size_t>(triangleOutline(corners.data(), width, s.data())));
    return s;
}

struct Probe {
    double x, y;
    bool covered;
};

void expectProbes(const Shape &shape, const std::vector<Probe> &probes, const char *what)
{
    for (const Probe &p : probes)
        EXPECT_EQ(covers(shape, p.x, p.y), p.covered) << what << " at " << p.x << "," << p.y;
}

TEST(SmoothShapes, LineBandsEndFlatAtTheirEndPoints)
{
    // Width 2 along y = 0 from x = 0 to 10, and the same line diagonal.
    Shape flat = band(0, 0, 10, 0, 2);
    EXPECT_NEAR(totalArea(flat), 20, 1e-3);
    expectProbes(flat, {{5, 0.9, true}, {5, -0.9, true}, {5, 1.1, false}, {0.1, 0.5, true},
                        {-0.1, 0, false}, {10.1, 0, false}, {9.9, -0.9, true}},
                 "flat");
    double r = std::sqrt(0.5);
    Shape diagonal = band(0, 0, 10, 10, 4);
    EXPECT_NEAR(totalArea(diagonal), 4 * 10 * std::sqrt(2.0), 1e-3);
    expectProbes(diagonal, {{5 + 1.9 * r, 5 - 1.9 * r, true}, {5 + 2.1 * r, 5 - 2.1 * r, false},
                            {-0.1, -0.1, false}, {10.1, 10.1, false}},
                 "diagonal");
    EXPECT_TRUE(band(3, 3, 3, 3, 2).empty());
}

TEST(SmoothShapes, TriangleOutlines)
{
    // A 30-40-50 triangle has an inscribed circle of radius 10 around
    // (10, 10), so a width-4 outline leaves an inner triangle and mitres
    // every corner: the outer edge is the triangle scaled by 12/10 about
    // that centre, the inner one by 8/10; the ring between them is
    // 600 x (1.44 - 0.64) = 480.
    std::vector<XPointDouble> right = {{0, 0}, {40, 0}, {0, 30}};
    Shape ring = outline(right, 4);
    EXPECT_EQ(ring.size(), 6u);
    EXPECT_NEAR(totalArea(ring), 480, 1e-2);
    expectProbes(ring, {{20, 1.9, true}, {20, 2.1, false}, {20, -1.9, true}, {20, -2.1, false},
                        {1.9, 15, true}, {-1.9, 15, true}, {-2.1, 15, false},
                        {10, 10, false},  // the middle stays empty
                        {-1.9, -1.9, true}, {-2.1, -1, false}, {-1, -2.1, false}},  // mitre
                 "ring");

    // Width 20 reaches the inscribed circle: everything inside is covered.
    Shape solid = outline(right, 20);
    EXPECT_NEAR(totalArea(solid), 600 * 4, 1e-2);
    expectProbes(solid, {{10, 10, true}, {5, 5, true}, {20, -9.9, true}, {20, -10.1, false}},
                 "solid");

    // A hand's triangle: the 3-unit base, 60 long, meets at about 2.9
    // degrees at the tip, below the 11-degree mitre limit, so the tip is
    // bevelled: the outline ends flat at the tip instead of running on to a
    // mitre point far beyond it.
    std::vector<XPointDouble> hand = {{0, -1.5}, {0, 1.5}, {60, 0}};
    Shape bevelled = outline(hand, 1);
    EXPECT_EQ(bevelled.size(), 7u);  // three sides of two, one bevel
    expectProbes(bevelled, {{59.9, 0, true}, {60.1, 0, false}, {65, 0, false}, {-0.4, 0, true},
                            {-0.6, 0, false}, {30, 0.5, true}, {30, 0, false}},
                 "bevelled");
    // Half of width 4 passes the inscribed radius (about 1.46): a filled
    // outer edge of four points, bevelled tip included.
    Shape filled = outline(hand, 4);
    EXPECT_EQ(filled.size(), 2u);
    expectProbes(filled, {{30, 0, true}, {59.9, 0, true}, {60.1, 0, false}, {-1.9, 0, true}},
                 "filled");

    // A triangle without area is the band of its longest side.
    std::vector<XPointDouble> flat = {{5, 5}, {5, 5}, {25, 5}};
    Shape line = outline(flat, 2);
    EXPECT_NEAR(totalArea(line), 40, 1e-3);
    expectProbes(line, {{15, 5.9, true}, {15, 6.1, false}, {4.9, 5, false}, {25.1, 5, false}},
                 "flat");
    std::vector<XPointDouble> point = {{5, 5}, {5, 5}, {5, 5}};
    EXPECT_TRUE(outline(point, 2).empty());
}

} // namespace

// setHandShape, computeHandGeometry and the hands' line widths. Every
// product is single precision in a fixed grouping and rounded with rintf
// (halfway to even): the pictures depend on it pixel for pixel, so do not
// "simplify" the arithmetic.
#include "render/geometry.h"

#include "clock/dial.h"
#include "render/layout.h"
#include "settings/settings.h"

#include <cmath>

HandShape handShape;
HandGeometry handGeometry;

void setHandShape()
{
    // g in double, rounded to single; each half-width is the single g widened
    // back to double times a double constant, rounded to single again.
    float g = static_cast<float>(settings.handThickness * 0.25);
    static const double widthFactor[3] = {0.02, 0.05, 0.07};
    static const float lengthFactor[3] = {1.0f, 0.9f, 0.6f};
    static const float tailFactor[3] = {0.02f, 0.05f, 0.07f};
    for (int i = 0; i < 3; i++) {
        handShape.halfWidth[i] = static_cast<float>(static_cast<double>(g) * widthFactor[i]);
        handShape.length[i] = lengthFactor[i];
        handShape.tail[i] = tailFactor[i];
    }
    // A negative tail puts the tail point on the tip's side of the centre:
    // the floating second indicator between 0.8 and 1.0 of the radii.
    if (settings.floatSeconds)
        handShape.tail[SECOND_HAND] = -0.8f;
    const int rx = clockLayout.radiusX, ry = clockLayout.radiusY;
    for (int i = 0; i < 3; i++) {
        handShape.strokeWidth[i] = strokeWidth(i, settings.thinSeconds, settings.handThickness,
                                               rx, ry);
        handShape.outlineWidth[i] = outlineWidth(i, settings.outThickness, rx, ry);
    }
}

Dial handDial(int n)
{
    if (!settings.smooth)
        n = 1;
    const DialLayout &l = clockLayout;
    return Dial{l.centerX * n, l.centerY * n, l.radiusX * n, l.radiusY * n};
}

int handsInDrawingOrder(int hands[3])
{
    int count = 0;
    for (int i = HOUR_HAND; i >= SECOND_HAND; i--)
        if (i != SECOND_HAND || settings.drawSecondHand)
            hands[count++] = i;
    return count;
}

void handPositions(const struct tm &t, int positions[3])
{
    positions[SECOND_HAND] = t.tm_sec;
    positions[MINUTE_HAND] = static_cast<int>(t.tm_min + t.tm_sec / 60.0);
    positions[HOUR_HAND] = static_cast<int>((t.tm_hour % 12) * 5 + t.tm_min / 12.0);
}

static int rnd(float v)
{
    return static_cast<int>(rintf(v));
}

static short clampShort(int v)
{
    if (v < -32768)
        return -32768;
    if (v > 32767)
        return 32767;
    return static_cast<short>(v);
}

void computeHandPoints(int position, float halfWidth, float length, float tail,
                       int cx, int cy, int rx, int ry,
                       int line[4], XPoint polygon[4])
{
    float c, s;
    dialDirection(position, &c, &s);
    float frx = static_cast<float>(rx);
    float fry = static_cast<float>(ry);

    int tx = rnd(c * (tail * frx));
    int ty = rnd(s * (tail * fry));
    int tailX = cx - tx, tailY = cy - ty;

    int px = rnd(c * (length * frx));
    int py = rnd(s * (length * fry));
    int tipX = cx + px, tipY = cy + py;

    int ex = rnd(s * (halfWidth * frx));
    int ey = rnd(c * (halfWidth * fry));

    line[0] = tailX;
    line[1] = tailY;
    line[2] = tipX;
    line[3] = tipY;

    XPoint a = {clampShort(tailX + ex), clampShort(tailY - ey)};
    XPoint b = {clampShort(tailX - ex), clampShort(tailY + ey)};
    // The tip keeps the low 16 bits of its coordinates.
    XPoint tip = {static_cast<short>(static_cast<unsigned short>(tipX)),
                  static_cast<short>(static_cast<unsigned short>(tipY))};
    polygon[0] = a;
    polygon[1] = b;
    polygon[2] = tip;
    polygon[3] = a;
}

void computeHandGeometry(const struct tm &shown, const Dial &dial, HandGeometry &geometry)
{
    int positions[3];
    handPositions(shown, positions);
    for (int i = 0; i < 3; i++)
        computeHandPoints(positions[i], handShape.halfWidth[i], handShape.length[i],
                          handShape.tail[i], dial.centerX, dial.centerY, dial.radiusX,
                          dial.radiusY, geometry.line[i], geometry.polygon[i]);
}

// The X protocol carries line widths in 16 bits; a negative mean radius
// (a dial smaller than its margins) must not turn into a huge width.
static int wholeWidth(double width)
{
    double w = std::rint(width);
    if (!(w > 0.0))
        return 0;
    if (w > 32767.0)
        return 32767;
    return static_cast<int>(w);
}

int strokeWidth(int hand, int thinSeconds, unsigned int handThickness, int rx, int ry)
{
    if (hand == SECOND_HAND && thinSeconds)
        return 1;
    double f = 1.0 + 0.5 * hand;
    double m = (rx + ry) * 0.5;
    return wholeWidth(handThickness / 100.0 * m * f);
}

int outlineWidth(int hand, unsigned int outThickness, int rx, int ry)
{
    double f = 1.0 + 0.5 * hand;
    double m = (rx + ry) * 0.5;
    return wholeWidth(outThickness / 1000.0 * m * f);
}

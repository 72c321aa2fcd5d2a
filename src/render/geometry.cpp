// setHandShape and computeHandGeometry. Every product is single precision in
// a fixed grouping and rounded with rintf (halfway to even): the pictures
// depend on it pixel for pixel, so do not "simplify" the arithmetic.
#include "render/geometry.h"

#include "app/loop.h"
#include "display/setup.h"
#include "settings/settings.h"

#include <cmath>

HandShape handShape;
HandGeometry handGeometry;
struct tm *localTime = nullptr;

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
}

void dialDirection(int position, float *c, float *s)
{
    float degrees = static_cast<float>(position - 15) * 6.0f;
    double radians = static_cast<double>(degrees) * M_PI / 180.0;
    *c = static_cast<float>(std::cos(radians));
    *s = static_cast<float>(std::sin(radians));
}

int shiftedHour(int hour, int shift)
{
    if (shift == 0)
        return hour;
    int h = hour + shift;
    if (h >= 24)
        h %= 24;
    while (h < 0)
        h += 24;
    return h;
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

bool zoneWatched = false;
bool zoneChanged = false;

// The broken-down time of the last redraw lives here. localtime() would
// re-read the time zone (a stat of /etc/localtime) on every call, which is a
// good part of what an idle clock costs a second. Where the loop watches the
// zone file it is read again only when the file changed; elsewhere once a
// minute, which still follows a change of the system's zone within that
// minute.
static struct tm localRecord;
static time_t zoneCheckedMinute = -1;

static struct tm *localTimeOf(time_t reading)
{
    time_t minute = reading / 60;
    if (zoneWatched ? zoneChanged : minute != zoneCheckedMinute) {
        tzset();
        zoneCheckedMinute = minute;
        zoneChanged = false;
    }
    return localtime_r(&reading, &localRecord);
}

bool computeHandGeometry()
{
    struct tm *t = localTimeOf(currentTime);
    if (!t) {
        // An unconvertible reading: keep the last frame, and let the alarm
        // check skip this second rather than read a missing record.
        localTime = nullptr;
        return false;
    }
    if (settings.shift != 0)
        t->tm_hour = shiftedHour(t->tm_hour, settings.shift);
    localTime = t;

    int positions[3];
    handPositions(*t, positions);
    // Smooth hands are drawn at the window's resolution: on a scaled clock
    // they are computed for the magnified dial.
    const int n = settings.smooth ? settings.scale : 1;
    for (int i = 0; i < 3; i++)
        computeHandPoints(positions[i], handShape.halfWidth[i], handShape.length[i],
                          handShape.tail[i], clockDisplay.dialCenterX * n,
                          clockDisplay.dialCenterY * n, clockDisplay.dialRadiusX * n,
                          clockDisplay.dialRadiusY * n, handGeometry.line[i],
                          handGeometry.polygon[i]);
    return true;
}

// The clock in the test's own process: its clock reading, its set-up and the
// hands at a given time.
#include "clock_support.h"

#include "app/loop.h"
#include "clock/state.h"
#include "display/setup.h"
#include "render/geometry.h"
#include "render/layers.h"
#include "render/layout.h"
#include "settings/settings.h"
#include "xserver.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

const FixedTime frameTimes[2] = {
    {"2024-03-15 14:05:09", MARCH_15_2024 + 14 * 3600 + 5 * 60 + 9},
    {"2023-12-31 22:47:38", MARCH_15_2024 - 75 * 86400 + 22 * 3600 + 47 * 60 + 38}};

time_t fakeNow;

time_t fakeClock(time_t *out)
{
    if (out)
        *out = fakeNow;
    return fakeNow;
}

void startClock(const std::string &display, std::vector<std::string> args)
{
    deriveHandLayers();
    std::vector<char *> argv;
    for (std::string &a : args)
        argv.push_back(&a[0]);
    argv.push_back(nullptr);
    boundedCopy(settings.displayName, display.c_str());
    setupDisplay(static_cast<int>(args.size()), argv.data());
    showFirstFrame();
}

bool startDefaultClock(const char *tz, time_t reading)
{
    const std::string &name = sharedXDisplay();
    if (name.empty())
        return false;
    setenv("TZ", tz, 1);
    tzset();
    setDefaults();
    fakeNow = reading;
    clockSource = fakeClock;
    startClock(name);
    return true;
}

bool shownGeometryAtCurrentTime()
{
    const struct tm *shown = updateShownTime(currentTime, settings.shift);
    if (!shown)
        return false;
    computeHandGeometry(*shown, handDial(settings.scale), handGeometry);
    return true;
}

bool shownGeometryAt(int hour, int minute, int second)
{
    setenv("TZ", "UTC", 1);
    tzset();
    currentTime = MARCH_15_2024 + hour * 3600 + minute * 60 + second;
    setHandShape();
    return shownGeometryAtCurrentTime();
}

static double distanceToSegment(double px, double py, double x1, double y1, double x2, double y2)
{
    double dx = x2 - x1, dy = y2 - y1, length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? std::clamp(((px - x1) * dx + (py - y1) * dy) / length2, 0.0, 1.0) : 0;
    return std::hypot(px - (x1 + t * dx), py - (y1 + t * dy));
}

double beyondHandEdges(int x, int y, const HandGeometry &g, int rx, int ry)
{
    double best = 1e9;
    for (int i = 0; i < 3; i++) {
        if (i == SECOND_HAND && !settings.drawSecondHand)
            continue;
        const HandLayers &layers = settings.handLayers[i];
        const int *l = g.line[i];
        if (layers.stroke) {
            int w = std::max(
                strokeWidth(i, settings.thinSeconds, settings.handThickness, rx, ry), 1);
            best = std::min(best, distanceToSegment(x, y, l[0], l[1], l[2], l[3]) - w / 2.0);
        }
        int w = layers.outline ? std::max(outlineWidth(i, settings.outThickness, rx, ry), 1) : 0;
        if (layers.outline || layers.fill)
            for (int k = 0; k < 3; k++) {
                const XPoint &a = g.polygon[i][k], &b = g.polygon[i][k + 1];
                best = std::min(best, distanceToSegment(x, y, a.x, a.y, b.x, b.y) - w / 2.0);
            }
    }
    return best;
}

FrameDifference compareFrames(const Image &mine, int left, int top, const Image &x,
                              const HandGeometry &hands, int n)
{
    FrameDifference d;
    for (int py = 0; py < x.height; py++)
        for (int px = 0; px < x.width; px++) {
            if (mine.at(left + px, top + py) == x.at(px, py))
                continue;
            d.differing++;
            if (!settings.smooth && beyondHandEdges(px / n, py / n, hands, clockLayout.radiusX,
                                                    clockLayout.radiusY) <= 1.0)
                continue;
            if (d.outside++ == 0)
                d.first = std::to_string(px) + "," + std::to_string(py) + ": mine " +
                          std::to_string(mine.at(left + px, top + py)) + ", X " +
                          std::to_string(x.at(px, py));
        }
    return d;
}

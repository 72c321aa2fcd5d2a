// The clock in the test's own process: its clock reading, its set-up and the
// hands at a given time.
#include "clock_support.h"

#include "app/loop.h"
#include "clock/state.h"
#include "display/setup.h"
#include "render/compose.h"
#include "render/geometry.h"
#include "render/layers.h"
#include "settings/settings.h"
#include "xserver.h"

#include <cstdlib>

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
    computeHandGeometry(*shown, handDial(), handGeometry);
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

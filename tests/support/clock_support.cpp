// Sets up the clock in process for the tick and wake-schedule tests.
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
#include <string>

time_t fakeNow;

time_t fakeClock(time_t *out)
{
    if (out)
        *out = fakeNow;
    return fakeNow;
}

bool startDefaultClock(const char *tz, time_t reading)
{
    const std::string &name = sharedXDisplay();
    if (name.empty())
        return false;
    setenv("TZ", tz, 1);
    tzset();
    setDefaults();
    deriveHandLayers();
    boundedCopy(settings.displayName, name.c_str(), sizeof settings.displayName);
    fakeNow = reading;
    clockSource = fakeClock;
    static char arg0[] = "tavock";
    static char *argv[] = {arg0, nullptr};
    setupDisplay(1, argv);
    showFirstFrame();
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

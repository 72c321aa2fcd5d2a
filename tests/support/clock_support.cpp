// Sets up the clock in process for the tick and wake-schedule tests.
#include "clock_support.h"

#include "app/loop.h"
#include "display/setup.h"
#include "render/layers.h"
#include "settings/settings.h"
#include "xserver.h"

#include <cstdlib>
#include <string>

bool startDefaultClock(const char *tz, time_t (*clock)(time_t *))
{
    const std::string &name = sharedXDisplay();
    if (name.empty())
        return false;
    setenv("TZ", tz, 1);
    tzset();
    setDefaults();
    deriveHandLayers();
    boundedCopy(settings.displayName, name.c_str(), sizeof settings.displayName);
    clockSource = clock;
    static char arg0[] = "tavock";
    static char *argv[] = {arg0, nullptr};
    setupDisplay(1, argv, settings.title, settings.displayName, settings.geometry,
                 settings.withdrawn, settings.iconic, settings.pushedIn, settings.noborder);
    return true;
}

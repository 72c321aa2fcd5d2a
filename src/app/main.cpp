// tavock: an analog clock for X11 docks. To understand everything else,
// start here: configure, set up the display, then tick for ever.
#include "app/loop.h"
#include "app/startup.h"
#include "display/setup.h"
#include "settings/settings.h"

int main(int argc, char **argv)
{
    startUp(argc, argv);
    setupDisplay(argc, argv, settings.title, settings.displayName, settings.geometry,
                 settings.withdrawn, settings.iconic, settings.pushedIn, settings.noborder);
    runMainLoop();
}

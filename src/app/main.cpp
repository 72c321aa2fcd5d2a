// tavock: an analog clock for X11 docks. To understand everything else,
// start here: configure, set up the display, show the first frame, then
// tick for ever.
#include "app/loop.h"
#include "app/startup.h"
#include "display/setup.h"

int main(int argc, char **argv)
{
    startUp(argc, argv);
    setupDisplay(argc, argv);
    showFirstFrame();
    runMainLoop();
}

// tavock: an analog clock for X11 docks and Wayland compositors. To
// understand everything else, start here: configure, set up the screen,
// show the first frame, then tick for ever.
#include "app/loop.h"
#include "app/screens.h"
#include "app/startup.h"
#include "settings/settings.h"

#include <cstdlib>

// A clock built without Wayland goes there only when asked, to say so.
#if TAVOCK_HAVE_WAYLAND
static const char *waylandDisplay() { return std::getenv("WAYLAND_DISPLAY"); }
#else
static const char *waylandDisplay() { return nullptr; }
#endif

int main(int argc, char **argv)
{
    startUp(argc, argv);
    setupScreen(waylandChosen(settings.wayland, settings.displayName, std::getenv("DISPLAY"),
                              waylandDisplay()),
                argc, argv);
    showFirstFrame();
    runMainLoop();
}

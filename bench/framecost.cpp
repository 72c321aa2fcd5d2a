// Composes and shows frames exactly as the running clock does, for the
// frame-cost benchmark: takes the clock's own options, sets up its display,
// then redraws FRAMES consecutive seconds (default 60) and prints how many X
// requests each frame sent. Under callgrind, collect only redraw() and
// presentFrame() to count the instructions of a frame.
#include "app/loop.h"
#include "app/startup.h"
#include "clock/state.h"
#include "display/setup.h"
#include "settings/settings.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    const char *count = std::getenv("FRAMES");
    int frames = count ? std::atoi(count) : 60;
    if (frames < 1)
        frames = 1;
    startUp(argc, argv);
    setupDisplay(argc, argv);
    showFirstFrame();
    Display *display = clockDisplay.display;
    XSync(display, False);

    // Friday 15 March 2024, 10:10:30 UTC onwards, one second per frame.
    const time_t start = 1710497430;
    unsigned long first = NextRequest(display);
    for (int i = 0; i < frames; i++) {
        currentTime = lastRedrawTime = start + i;
        redraw();
        presentFrame();
    }
    unsigned long requests = NextRequest(display) - first;
    XSync(display, False);
    std::printf("%.2f\n", static_cast<double>(requests) / frames);
    return 0;
}

// The X screen's steps for the loop: the frame composed on the server, the
// connection written without reading (display/connection). The Wayland
// tile's are in tile.cpp, loaded as a module of its own.
#include "app/screens.h"

#include "display/connection.h"
#include "display/scaling.h"
#include "display/setup.h"
#include "render/compose.h"
#include "render/geometry.h"

#include "settings/modules.h"

#include <cstdlib>

namespace {

void prepareXLoop()
{
    // The clock never asks for GraphicsExpose or NoExpose events; without
    // this every frame copy would send one back and wake the loop again.
    clockDisplay.gcValues.graphics_exposures = False;
    XChangeGC(clockDisplay.display, clockDisplay.gc, GCGraphicsExposures, &clockDisplay.gcValues);
    forgetQueuesDrained();
}

void composeOnX(const struct tm &shown)
{
    computeHandGeometry(shown, handDial(), handGeometry);
    composeFrame(clockDisplay.framePixmap, shown);
}

void presentOnX()
{
    showFrameOn(0);  // mainWindow first, then the dock tile
    showFrameOn(1);
}

int xConnectionFd()
{
    return ConnectionNumber(clockDisplay.display);
}

bool sendToX()
{
    sendRequests(clockDisplay.display);
    return false;
}

bool xEventsQueued()
{
    return eventsMayBeQueued(clockDisplay.display);
}

void afterXWait(bool) {}

EventOutcome serveXEvents(bool readable)
{
    EventOutcome outcome = handleEvents(readable);
    if (readable)
        markQueuesDrained(clockDisplay.display);
    return outcome;
}

} // namespace

const ClockScreen xScreen = {prepareXLoop,  composeOnX, presentOnX,   xConnectionFd, sendToX,
                             xEventsQueued, afterXWait, serveXEvents, quit};
const ClockScreen *screen = &xScreen;

void setupWaylandScreen()
{
    void *module;
    auto tile = reinterpret_cast<const ClockScreen *(*)()>(
        moduleEntry("tavock-wayland.so", "tavockWaylandTile", &module));
    if (!tile)
        std::exit(1);
    screen = tile();
}

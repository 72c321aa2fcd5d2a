// The two screens' steps for the loop. On X the frame is composed on the
// server and the connection is written without reading (display/connection);
// on Wayland it is drawn by the client into a shared buffer.
#include "app/screens.h"

#include "display/connection.h"
#include "display/scaling.h"
#include "display/setup.h"
#include "render/compose.h"
#include "render/geometry.h"
#include "settings/settings.h"

#if TAVOCK_HAVE_WAYLAND
#include "render/canvas.h"
#include "wayland/buffers.h"
#include "wayland/connection.h"
#include "wayland/setup.h"
#endif

#include <cstdio>
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

#if TAVOCK_HAVE_WAYLAND
namespace {

// A frame the loop wanted while the compositor held both buffers: drawn
// once one of them comes back.
bool frameWanted;

void prepareWaylandLoop() {}

// -scale and the output's scale multiply: the frame is drawn at n times the
// clock's size into a buffer of the tile's logical size times the output's.
void composeOnWayland(const struct tm &shown)
{
    int stride;
    uint32_t *pixels = waylandFrameBuffer(clockWayland.scale, &stride);
    frameWanted = !pixels;
    if (!pixels)
        return;
    const int n = settings.scale * clockWayland.scale;
    computeHandGeometry(shown, canvasHandDial(n), handGeometry);
    drawCanvasFrame(shown, handGeometry, n, pixels, stride);
}

bool waylandEventsQueued()
{
    return !prepareWaylandRead();
}

EventOutcome serveWaylandEvents(bool)
{
    EventOutcome outcome = {};
    if (clockWayland.closed) {
        outcome.closeRequested = true;
        return outcome;
    }
    // Any button, once per press; the command only when one was given, as
    // on the X clock's own window (there is no dock tile to default to).
    for (; clockWayland.clicks > 0; clockWayland.clicks--)
        if (settings.execGiven)
            runClickCommand();
    // A move to an output of another scale: the frame is drawn again now,
    // at the new scale.
    outcome.redrawNeeded = clockWayland.scaleChanged || frameWanted;
    clockWayland.scaleChanged = false;
    return outcome;
}

void quitWayland()
{
    teardownWayland();
    std::exit(0);
}

} // namespace

const ClockScreen waylandScreen = {prepareWaylandLoop,  composeOnWayland,   presentWaylandFrame,
                                   waylandConnectionFd, flushWayland,       waylandEventsQueued,
                                   readWaylandEvents,   serveWaylandEvents, quitWayland};

void setupWaylandScreen()
{
    windowSizeFromGeometry(settings.geometry, &settings.windowWidth, &settings.windowHeight);
    if (settings.scale < 1)
        settings.scale = 1;
    fitScale();
    // A sprite sheet that cannot be made ends the clock as it does on X.
    if (!setupCanvas())
        std::exit(0);
    const int n = settings.scale;
    setupWayland(settings.geometry, static_cast<int>(settings.windowWidth) * n,
                 static_cast<int>(settings.windowHeight) * n);
    if (clockWayland.closed)
        quitWayland();
    screen = &waylandScreen;
}
#else
void setupWaylandScreen()
{
    std::fputs("tavock: this tavock was built without Wayland\n", stderr);
    std::exit(1);
}
#endif

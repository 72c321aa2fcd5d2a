// The Wayland tile's steps for the loop: the frame drawn by the client with
// pixman into a shared buffer, the connection flushed and read around the
// loop's wait. Built as a module of its own (tavock-wayland.so) that only a
// clock on Wayland loads, with everything it links.
#include "app/screens.h"

#include "display/scaling.h"
#include "display/setup.h"
#include "render/canvas.h"
#include "render/geometry.h"
#include "settings/settings.h"
#include "wayland/buffers.h"
#include "wayland/connection.h"
#include "wayland/setup.h"

#include <cstdlib>

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

const ClockScreen *tavockWaylandTile()
{
    windowSizeFromGeometry(settings.geometry, &settings.windowWidth, &settings.windowHeight);
    fitScale();
    // A sprite sheet that cannot be made ends the clock as it does on X.
    if (!setupCanvas())
        std::exit(0);
    const int n = settings.scale;
    setupWayland(settings.geometry, static_cast<int>(settings.windowWidth) * n,
                 static_cast<int>(settings.windowHeight) * n);
    if (clockWayland.closed)
        quitWayland();
    return &waylandScreen;
}

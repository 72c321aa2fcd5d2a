// The Wayland tile's steps for the loop: the frame drawn by the client with
// pixman into a shared buffer, the connection flushed and read around the
// loop's wait. Built as a module of its own (tavock-wayland.so) that only a
// clock on Wayland loads, with everything it links.
#include "wayland/tile.h"

#include "canvas/canvas.h"
#include "interaction/commands.h"
#include "render/layout.h"
#include "settings/settings.h"
#include "wayland/buffers.h"
#include "wayland/connection.h"
#include "wayland/placement.h"
#include "wayland/setup.h"

#include <cstdio>
#include <cstdlib>

namespace {

// A frame the loop wanted while the compositor held both buffers: drawn
// once one of them comes back.
bool frameWanted;

// The buffer scale frames are drawn at: the outputs' scale, or less where
// -scale times it would make the tile larger than a window may be or its
// two buffers larger than wl_shm takes; and the outputs' scale it was
// worked out for.
int bufferScale;
int scaleFittedFor;

// -scale and the output's scale multiply, fitted as X fits -scale: the
// frame is drawn at n times the clock's size, n a multiple of -scale.
int fittedBufferScale()
{
    if (clockWayland.scale == scaleFittedFor)
        return bufferScale;
    scaleFittedFor = clockWayland.scale;
    const unsigned int w = settings.windowWidth, h = settings.windowHeight;
    const int s = settings.scale;
    int k = fitScaleTo(w, h, s * clockWayland.scale, s) / s;
    const int sideFit = k;
    while (k > 1 && !waylandBuffersFit(static_cast<long long>(w) * s * k,
                                       static_cast<long long>(h) * s * k))
        k--;
    if (k < sideFit)
        std::fprintf(stderr, "tavock: a %ux%u clock at scale %d would not fit the tile's "
                     "buffers, drawing at scale %d\n", w, h, s * sideFit, s * k);
    bufferScale = k;
    return k;
}

void firstFrameOnWayland(void (*draw)())
{
    draw();
    presentWaylandFrame();
}

void prepareWaylandLoop() {}

void composeOnWayland(const struct tm &shown)
{
    // No tile (its output is not there) or none configured yet: the frame
    // comes when it is.
    frameWanted = false;
    if (!clockWayland.surface || !clockWayland.configured)
        return;
    FramePixels frame;
    frameWanted = !waylandFrameBuffer(fittedBufferScale(), &frame);
    if (frameWanted)
        return;
    computeHandGeometry(shown, handDial(canvasMagnification(frame)), handGeometry);
    drawCanvasFrame(shown, handGeometry, frame);
}

EventOutcome afterWaylandWait(bool readable)
{
    readWaylandEvents(readable);
    followTileOutput();
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
    // at the new scale; so is a new tile's first frame.
    outcome.redrawNeeded = clockWayland.scaleChanged || frameWanted || clockWayland.freshTile;
    clockWayland.scaleChanged = clockWayland.freshTile = false;
    return outcome;
}

void quitWayland()
{
    teardownWayland();
    std::exit(0);
}

} // namespace

const ClockScreen waylandScreen = {firstFrameOnWayland, prepareWaylandLoop, composeOnWayland,
                                   presentWaylandFrame, waylandConnectionFd, beforeWaylandWait,
                                   afterWaylandWait,    quitWayland};

bool setupTileFrame(LabelTextCall labelText)
{
    windowSizeFromGeometry(settings.geometry, &settings.windowWidth, &settings.windowHeight);
    fitScale();
    scaleFittedFor = 0;
    return setupCanvas(labelText);
}

const ClockScreen *tavockWaylandTile(LabelTextCall labelText)
{
    // A sprite sheet that cannot be made ends the clock as it does on X.
    if (!setupTileFrame(labelText))
        std::exit(0);
    TileRequest request = {settings.geometry, static_cast<int>(settings.windowWidth) * settings.scale,
                           static_cast<int>(settings.windowHeight) * settings.scale,
                           settings.output, 0, settings.execGiven != 0};
    // A layer of another name is taken as top, as a -scale out of range is
    // taken within it: the clock keeps running.
    if (!tileLayer(settings.layer, &request.layer))
        std::fprintf(stderr, "tavock: the Wayland layer is background, bottom, top or overlay, "
                     "not %s: drawing on top\n", settings.layer);
    setupWayland(request);
    if (clockWayland.closed)
        quitWayland();
    return &waylandScreen;
}

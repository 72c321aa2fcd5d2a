// The X screen's steps for the loop: the frame composed on the server, the
// connection written without reading (display/connection) and read by the
// event drain.
#include "display/events.h"

#include "display/compose.h"
#include "display/connection.h"
#include "display/scaling.h"
#include "display/setup.h"
#include "render/geometry.h"
#include "settings/settings.h"

namespace {

// The face goes onto the frame first, so that a frame the draw cannot
// compose (localtime failed) shows the dial rather than uninitialised
// pixmap contents. The frame is shown once the window manager has mapped
// the window: the first event is the Expose of the mapping.
void firstFrameOnX(void (*draw)())
{
    Display *d = clockDisplay.display;
    XCopyArea(d, clockDisplay.facePixmap, clockDisplay.framePixmap, clockDisplay.gc, 0, 0,
              settings.windowWidth, settings.windowHeight, 0, 0);
    draw();
    XEvent event;
    XNextEvent(d, &event);
    showFrameOn(0);  // mainWindow first, then the dock tile
    showFrameOn(1);
    XFlush(d);
}

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
    computeHandGeometry(shown, handDial(settings.scale), handGeometry);
    composeFrame(clockDisplay.framePixmap, shown);
}

void presentOnX()
{
    showFrameOn(0);
    showFrameOn(1);
}

int xConnectionFd()
{
    return ConnectionNumber(clockDisplay.display);
}

// One write of what was drawn, never a read: whether events came is the
// wait's to see, unless libxcb read some into its queue while writing.
WaitPlan beforeXWait()
{
    sendRequests(clockDisplay.display);
    return eventsMayBeQueued(clockDisplay.display) ? SKIP_WAIT : WAIT_FOR_INPUT;
}

EventOutcome afterXWait(bool readable)
{
    EventOutcome outcome = handleEvents(readable);
    if (readable)
        markQueuesDrained(clockDisplay.display);
    return outcome;
}

} // namespace

const ClockScreen xScreen = {firstFrameOnX, prepareXLoop,  composeOnX, presentOnX,
                             xConnectionFd, beforeXWait,   afterXWait, quit};

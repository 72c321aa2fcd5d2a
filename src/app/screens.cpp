// The two screens' steps for the loop. On X the frame is composed on the
// server and the connection is written without reading (display/connection);
// on Wayland it is drawn by the client into a shared buffer.
#include "app/screens.h"

#include "display/connection.h"
#include "display/scaling.h"
#include "display/setup.h"
#include "render/compose.h"
#include "render/geometry.h"

namespace {

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

const ClockScreen xScreen = {composeOnX,    presentOnX, xConnectionFd, sendToX,
                             xEventsQueued, afterXWait, serveXEvents,  quit};
const ClockScreen *screen = &xScreen;

// The tick loop: one tick redraws when the second (and the update interval)
// has moved on, checks the alarms, drains events and refreshes the windows;
// between ticks the loop sleeps on the X connection until the next second.
#include "app/loop.h"

#include "display/setup.h"
#include "interaction/alarms.h"
#include "interaction/events.h"
#include "render/compose.h"
#include "render/geometry.h"
#include "settings/settings.h"

#include <poll.h>

time_t currentTime;
time_t lastRedrawTime;
int redrawPending;
time_t (*clockSource)(time_t *) = time;

void redraw()
{
    setHandShape();
    // An unconvertible clock reading: the windows keep the last frame.
    if (!computeHandGeometry())
        return;
    composeFrame(clockDisplay.framePixmap);
    ++redrawPending;
}

void presentFrame()
{
    showFrameOn(0);  // mainWindow first, then the dock tile
    showFrameOn(1);
    redrawPending = 0;
}

// Seconds between two readings, whichever comes first: a clock set back
// counts as elapsed time too. Computed without overflow for any readings.
static unsigned long long secondsApart(time_t a, time_t b)
{
    return a > b ? static_cast<unsigned long long>(a) - static_cast<unsigned long long>(b)
                 : static_cast<unsigned long long>(b) - static_cast<unsigned long long>(a);
}

void tick()
{
    currentTime = clockSource(nullptr);
    if (currentTime != lastRedrawTime) {
        if (secondsApart(currentTime, lastRedrawTime) >=
            static_cast<unsigned long long>(settings.updateInterval)) {
            lastRedrawTime = currentTime;
            redraw();
        }
        if (settings.alarmsGiven && settings.alarmCount > 0)
            checkAlarms();
    }
    handleEvents();
    if (redrawPending)
        presentFrame();
}

int tickWaitMilliseconds(const struct timespec &now, time_t tickSecond, int marginMs)
{
    const long nsPerMs = 1000000L;
    // The tick read another second than the one now running: time() reads
    // a coarse copy of the same clock that flips to the new second up to
    // one timer tick (a few ms) late, or a command held the tick across the
    // change, or the clock was set. Tick again at once rather than a whole
    // second later; the two readings agree again within a timer tick.
    if (now.tv_sec != tickSecond)
        return 1;
    long nanoseconds = now.tv_nsec;
    if (nanoseconds < 0)
        nanoseconds = 0;
    if (nanoseconds > 999999999L)
        nanoseconds = 999999999L;
    // Rounded up, so the wake-up never lands before the boundary.
    long untilBoundary = (1000000000L - nanoseconds + nsPerMs - 1) / nsPerMs;
    return static_cast<int>(untilBoundary) + marginMs;
}

// The margin past the boundary: a millisecond, plus the granularity with
// which time() sees the second change.
static int boundaryMarginMs()
{
    struct timespec resolution;
    if (clock_getres(CLOCK_REALTIME_COARSE, &resolution) != 0 || resolution.tv_sec != 0)
        return 2;
    int coarseMs = static_cast<int>((resolution.tv_nsec + 999999L) / 1000000L);
    return 1 + (coarseMs < 10 ? coarseMs : 10);
}

// Instead of ticking every 10 ms, the loop sleeps on the X connection until
// the next second or until input arrives. That serves the same purpose:
// - a redraw still follows the change of second, within a few ms of it;
// - with a larger update interval, the alarm checks that fall between two
//   redraws all see the same time record, and repeating a check on one
//   record changes nothing, so checking once a second is enough;
// - a click or a close request is served at once instead of within 10 ms.
// XPending sends the buffered requests (the frame copies) and reads
// whatever the server has already sent; only when the queue is then empty
// is it safe to sleep on the socket, since events already read into the
// queue would never make it readable again.
void runMainLoop()
{
    Display *display = clockDisplay.display;
    const int marginMs = boundaryMarginMs();

    // The clock never asks for GraphicsExpose or NoExpose events; without
    // this every frame copy would send one back and wake the loop again.
    clockDisplay.gcValues.graphics_exposures = False;
    XChangeGC(display, clockDisplay.gc, GCGraphicsExposures, &clockDisplay.gcValues);

    struct pollfd connection;
    connection.fd = ConnectionNumber(display);
    connection.events = POLLIN;
    for (;;) {
        tick();
        if (XPending(display) > 0)
            continue;
        struct timespec now;
        clock_gettime(CLOCK_REALTIME, &now);
        connection.revents = 0;
        // EINTR or a timeout alike: the next tick looks at the clock again.
        poll(&connection, 1, tickWaitMilliseconds(now, currentTime, marginMs));
    }
}

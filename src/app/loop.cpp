// The tick loop: one tick redraws when the second (and the update interval)
// has moved on, checks the alarms, drains events and refreshes the windows;
// between ticks the loop sleeps on the X connection until the next tick that
// can change anything, input, or a change of the system clock.
#include "app/loop.h"

#include "app/schedule.h"
#include "app/screens.h"
#include "clock/state.h"
#include "interaction/commands.h"
#include "render/geometry.h"
#include "settings/settings.h"

#include <cstdlib>
#include <limits>
#include <poll.h>
#include <unistd.h>
// The kernel's notices of a set clock and of a changed zone file, where
// there are such things.
#if defined(__linux__) && __has_include(<sys/timerfd.h>)
#include <sys/timerfd.h>
#define HAVE_TIMERFD 1
#endif
#if defined(__linux__) && __has_include(<sys/inotify.h>)
#include <sys/inotify.h>
#define HAVE_INOTIFY 1
#endif
time_t nextTickTime;
int clockChangeFd = -1;
int zoneChangeFd = -1;

// Whether the loop's wait saw the clock set, for the wake-up that follows
// it. A new time zone counts as a set clock: the time shown jumps just the
// same.
static bool clockWasSet = false;
static int waitMarginMs = 2;

void redraw()
{
    const struct tm *shown = updateShownTime(currentTime, settings.shift);
    // An unconvertible clock reading: the windows keep the last frame.
    if (!shown)
        return;
    screen->composeFrame(*shown);
    ++redrawPending;
}

void presentFrame()
{
    screen->presentFrame();
    redrawPending = 0;
}

void showFirstFrame()
{
    setHandShape();
    currentTime = clockSource(nullptr);
    lastRedrawTime = currentTime;
    screen->firstFrame(redraw);
    redrawPending = 0;
}

// Serves the input (readable: the wait saw some arrive), and ends the clock
// when it was asked to close.
static void serveEvents(bool readable)
{
    EventOutcome outcome = screen->afterWait(readable);
    if (outcome.closeRequested)
        screen->quit();
    if (outcome.redrawNeeded)
        redraw();
    redrawPending += outcome.exposures;
    if (redrawPending)
        presentFrame();
}

// Seconds between two readings, whichever comes first: a clock set back
// counts as elapsed time too. Computed without overflow for any readings.
static unsigned long long secondsApart(time_t a, time_t b)
{
    return a > b ? static_cast<unsigned long long>(a) - static_cast<unsigned long long>(b)
                 : static_cast<unsigned long long>(b) - static_cast<unsigned long long>(a);
}

void tick(bool readable)
{
    currentTime = clockSource(nullptr);
    if (currentTime != lastRedrawTime) {
        // After the clock was set the old redraw seconds mean nothing: show
        // the new time now, whatever the interval, and count from there.
        if (clockWasSet || secondsApart(currentTime, lastRedrawTime) >=
                               static_cast<unsigned long long>(settings.updateInterval)) {
            lastRedrawTime = currentTime;
            redraw();
        }
        if (settings.alarmsGiven && settings.alarmCount > 0)
            checkAlarms();
    }
    clockWasSet = false;
    serveEvents(readable);
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

// The kernel's notice of a set clock: a real-time timer that cancels itself
// whenever the clock is set (by hand, by NTP stepping it, on resume from
// suspend), armed for an instant that never comes, so that its descriptor
// becomes readable on a clock change and on nothing else. The instant is a
// constant, not a reading, so no faked clock can make it fire.
static int openClockChangeNotice()
{
#if HAVE_TIMERFD
    int fd = timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC);
    if (fd < 0)
        return -1;
    struct itimerspec never = {};
    never.it_value.tv_sec = std::numeric_limits<time_t>::max();
    if (timerfd_settime(fd, TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &never, nullptr) != 0) {
        close(fd);
        return -1;
    }
    return fd;
#else
    return -1;
#endif
}

#if HAVE_INOTIFY
// The zone file itself, through the link it usually is: new contents (a new
// tzdata) or the file going away. Watching the same path again after a
// change follows whatever file the link names now.
static void watchZoneFile(int fd)
{
    inotify_add_watch(fd, "/etc/localtime", IN_CLOSE_WRITE | IN_ATTRIB | IN_MOVE_SELF |
                                                IN_DELETE_SELF);
}
#endif

// The system's time zone file, watched so that a new zone shows at once and
// an idle clock never looks at the file otherwise: its folder for a file or
// link put in its place (how the zone is usually changed), the file for new
// contents. Only when TZ does not name the zone: the C library then never
// looks at the file again.
static int openZoneChangeNotice()
{
#if HAVE_INOTIFY
    if (std::getenv("TZ"))
        return -1;
    int fd = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (fd < 0)
        return -1;
    // Any entry of the folder that comes or goes counts: telling
    // "localtime" from the rest would cost more than the rare extra redraw.
    if (inotify_add_watch(fd, "/etc", IN_CREATE | IN_MOVED_TO | IN_MOVED_FROM | IN_DELETE) < 0) {
        close(fd);
        return -1;
    }
    watchZoneFile(fd);
    return fd;
#else
    return -1;
#endif
}

void startLoop()
{
    screen->prepareLoop();
    if (clockChangeFd < 0)
        clockChangeFd = openClockChangeNotice();
    if (zoneChangeFd < 0)
        zoneChangeFd = openZoneChangeNotice();
    zoneWatched = zoneChangeFd >= 0;
    waitMarginMs = boundaryMarginMs();
    // The first frame's record has not been checked against the alarms yet:
    // the first tick comes at the next second, as it would have anyway.
    nextTickTime = lastRedrawTime + 1;
}

void serveWakeUp(bool readable)
{
    time_t reading = clockSource(nullptr);
    // Before the next tick is due nothing can change but what the events
    // bring. A reading before the last redraw is a clock set back.
    if (clockWasSet || reading >= nextTickTime || reading < lastRedrawTime) {
        tick(readable);
        nextTickTime = nextTickSecond(currentTime, lastRedrawTime, settings.updateInterval,
                                      settings.drawSecondHand != 0, shownTime, settings.alarms,
                                      settings.alarmsGiven ? settings.alarmCount : 0);
    } else {
        serveEvents(readable);
    }
}

// Sleeps until the next tick is due, input arrives, or the clock or the
// time zone is set; also until the connection takes more when sending was
// cut short. Returns whether input arrived; a set clock is left in
// clockWasSet.
static bool waitForWakeUp(bool sendingLeft)
{
    // A notice that is not there (-1) is left out by poll.
    const short connectionEvents = POLLIN | (sendingLeft ? POLLOUT : 0);
    struct pollfd watched[3] = {{screen->connectionFd(), connectionEvents, 0},
                                {clockChangeFd, POLLIN, 0},
                                {zoneChangeFd, POLLIN, 0}};
    // Without the kernel's notice a set clock shows only when the loop looks
    // again: it looks at least every ten seconds then.
    const int capMs = clockChangeFd >= 0 ? 3600 * 1000 : 10 * 1000;
    struct timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    const int timeout =
        tickWaitMilliseconds(now, clockSource(nullptr), nextTickTime, waitMarginMs, capMs);
    // EINTR or a timeout alike: nothing arrived, serveWakeUp reads the clock.
    if (poll(watched, 3, timeout) <= 0)
        return false;
    if (watched[1].revents != 0) {
        // A timer descriptor reports the change by failing with ECANCELED
        // and stays armed; a descriptor standing in for it is read once, so
        // that it is quiet again after a short notice.
        char notice[64];
        ssize_t ignored = read(clockChangeFd, notice, sizeof notice);
        (void)ignored;
        clockWasSet = true;
    }
    if (watched[2].revents != 0) {
        // What changed does not matter: the zone is read again either way.
        // Events left over keep the descriptor readable for the next pass.
        alignas(8) char events[4096];
        ssize_t ignored = read(zoneChangeFd, events, sizeof events);
        (void)ignored;
#if HAVE_INOTIFY
        watchZoneFile(zoneChangeFd);
#endif
        zoneChanged = true;
        clockWasSet = true;
    }
    return (watched[0].revents & ~POLLOUT) != 0;
}

void loopPass()
{
    // One write of what the last wake-up drew, then sleep only when no
    // input can be waiting where the wait would not see it.
    WaitPlan plan = screen->beforeWait();
    serveWakeUp(plan == SKIP_WAIT || waitForWakeUp(plan == WAIT_FOR_WRITING));
}

// Instead of ticking every 10 ms, the loop sleeps on the connection and
// the clock-change notice until the next tick that can change anything
// (nextTickSecond), input arrives or the clock is set:
// - the picture and the alarms change exactly as they would with a tick
//   every second, since only redraws that would repeat the picture, and
//   alarm checks that would change nothing, are left out;
// - a click or a close request is served at once;
// - a wake-up with a frame costs one poll and one write to send it (libxcb
//   polls before it writes) and the wait's poll; the connection is read
//   only when the wait says something arrived.
void runMainLoop()
{
    startLoop();
    for (;;)
        loopPass();
}

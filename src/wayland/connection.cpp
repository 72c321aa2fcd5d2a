// The loop's side of the Wayland connection: libwayland's flush, prepare,
// read and dispatch, each mapped onto one step around the wait.
#include "wayland/connection.h"

#include "wayland/setup.h"

#include <wayland-client.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

// A read prepared for the wait and not yet read or given up.
static bool readClaimed;

void lostWaylandConnection()
{
    std::fprintf(stderr, "tavock: lost the connection to the Wayland display\n");
    std::exit(1);
}

int waylandConnectionFd()
{
    return wl_display_get_fd(clockWayland.display);
}

WaitPlan beforeWaylandWait()
{
    wl_display *display = clockWayland.display;
    // wl_display_flush writes only when something is buffered.
    bool sendingLeft = false;
    if (wl_display_flush(display) < 0) {
        if (errno != EAGAIN)
            lostWaylandConnection();
        sendingLeft = true;
    }
    if (wl_display_prepare_read(display) != 0) {
        if (wl_display_dispatch_pending(display) < 0)
            lostWaylandConnection();
        return SKIP_WAIT;
    }
    readClaimed = true;
    return sendingLeft ? WAIT_FOR_WRITING : WAIT_FOR_INPUT;
}

void readWaylandEvents(bool readable)
{
    wl_display *display = clockWayland.display;
    if (!readClaimed)
        return;
    readClaimed = false;
    if (!readable) {
        wl_display_cancel_read(display);
        return;
    }
    if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
        lostWaylandConnection();
}

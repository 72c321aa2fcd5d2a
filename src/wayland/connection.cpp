// The loop's side of the Wayland connection: libwayland's prepare, read
// and dispatch, each mapped onto one step of the wait.
#include "wayland/connection.h"

#include "wayland/setup.h"

#include <wayland-client.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

void lostWaylandConnection()
{
    std::fprintf(stderr, "tavock: lost the connection to the Wayland display\n");
    std::exit(1);
}

int waylandConnectionFd()
{
    return wl_display_get_fd(clockWayland.display);
}

// wl_display_flush writes only when something is buffered.
bool flushWayland()
{
    if (wl_display_flush(clockWayland.display) >= 0)
        return false;
    if (errno == EAGAIN)
        return true;
    lostWaylandConnection();
}

bool prepareWaylandRead()
{
    if (wl_display_prepare_read(clockWayland.display) == 0)
        return true;
    if (wl_display_dispatch_pending(clockWayland.display) < 0)
        lostWaylandConnection();
    return false;
}

void readWaylandEvents(bool readable)
{
    wl_display *display = clockWayland.display;
    if (!readable) {
        wl_display_cancel_read(display);
        return;
    }
    if (wl_display_read_events(display) < 0 || wl_display_dispatch_pending(display) < 0)
        lostWaylandConnection();
}

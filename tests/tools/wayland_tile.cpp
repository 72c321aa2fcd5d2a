// A tile of one colour on the Wayland display, for the tests: it is placed
// after a geometry string, runs a command on each click and exits 0 when
// the compositor closes it, through src/wayland/ and the loop order that
// wayland/connection.h gives. It tells the tests where it is on stdout:
// "pointer" once the seat's pointer is bound, "buffer WxH" after a frame.
#include "wayland/buffers.h"
#include "wayland/connection.h"
#include "wayland/setup.h"

#include <cstdio>
#include <cstdlib>
#include <poll.h>

static uint32_t colour;

// False while the compositor holds both buffers: its release wakes the
// loop, which tries again.
static bool drawFrame()
{
    int stride;
    int scale = clockWayland.scale;
    uint32_t *pixels = waylandFrameBuffer(scale, &stride);
    if (!pixels)
        return false;
    for (int y = 0; y < clockWayland.bufferHeight; y++)
        for (int x = 0; x < clockWayland.bufferWidth; x++)
            pixels[y * (stride / 4) + x] = colour;
    presentWaylandFrame();
    std::printf("buffer %dx%d\n", clockWayland.bufferWidth, clockWayland.bufferHeight);
    std::fflush(stdout);
    return true;
}

int main(int argc, char **argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s GEOMETRY WIDTH HEIGHT RRGGBB COMMAND\n", argv[0]);
        return 2;
    }
    colour = static_cast<uint32_t>(std::strtoul(argv[4], nullptr, 16));
    setupWayland(argv[1], std::atoi(argv[2]), std::atoi(argv[3]));
    bool drawDue = true, pointerTold = false;
    for (;;) {
        if (clockWayland.closed) {
            teardownWayland();
            return 0;
        }
        for (; clockWayland.clicks > 0; clockWayland.clicks--)
            [[maybe_unused]] int status = std::system(argv[5]);
        if (clockWayland.scaleChanged) {
            clockWayland.scaleChanged = false;
            drawDue = true;
        }
        if (drawDue)
            drawDue = !drawFrame();
        if (!prepareWaylandRead())
            continue;
        struct pollfd wait = {waylandConnectionFd(), POLLIN, 0};
        if (flushWayland())
            wait.events |= POLLOUT;
        // Told once the request for it has gone out, so that a click sent
        // after this line finds the pointer there.
        if (clockWayland.pointer && !pointerTold) {
            std::printf("pointer\n");
            std::fflush(stdout);
            pointerTold = true;
        }
        bool readable = poll(&wait, 1, -1) > 0 && (wait.revents & (POLLIN | POLLHUP | POLLERR));
        readWaylandEvents(readable);
    }
}

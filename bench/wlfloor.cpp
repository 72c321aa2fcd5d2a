// The Wayland floor for bench/tile: the least a tile that draws complete
// frames into buffers the compositor has released can cost its client and
// the compositor. One 54x54 layer surface on the top layer; two wl_shm
// buffers from one memfd, filled once at the start, a mark in a different
// place in each, so that every frame differs from the one before. On each
// second boundary (each minute boundary of local time with an argument of
// 60) it attaches the buffer the compositor has released, damages the
// whole surface, commits, flushes and sleeps in poll; the releases, and
// whatever else comes, are dispatched as they arrive. libwayland-client and
// the layer shell's generated code only.
//
//   tavock-wlfloor [PERIOD [top|bottom [LEFT]]]
//       anchored at the top (default) or bottom edge, LEFT pixels from the
//       left one (default 0)
#include "boundary.h"
#include "wayland/layer_shell.h"

#include <wayland-client.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr int side = 54;
constexpr int stride = side * 4;
constexpr int bufferBytes = stride * side;

struct Floor {
    wl_compositor *compositor = nullptr;
    wl_shm *shm = nullptr;
    zwlr_layer_shell_v1 *layerShell = nullptr;
    wl_buffer *buffers[2] = {nullptr, nullptr};
    bool busy[2] = {false, false};
    bool configured = false;
    bool closed = false;
};

void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
            uint32_t version)
{
    auto *floor = static_cast<Floor *>(data);
    // damage_buffer needs wl_compositor 4.
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && version >= 4)
        floor->compositor = static_cast<wl_compositor *>(
            wl_registry_bind(registry, name, &wl_compositor_interface, 4));
    else if (std::strcmp(interface, wl_shm_interface.name) == 0)
        floor->shm = static_cast<wl_shm *>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0)
        floor->layerShell = static_cast<zwlr_layer_shell_v1 *>(
            wl_registry_bind(registry, name, &zwlr_layer_shell_v1_interface, 1));
}
void globalRemove(void *, wl_registry *, uint32_t) {}
const wl_registry_listener registryListener = {global, globalRemove};

void configure(void *data, zwlr_layer_surface_v1 *surface, uint32_t serial, uint32_t, uint32_t)
{
    zwlr_layer_surface_v1_ack_configure(surface, serial);
    static_cast<Floor *>(data)->configured = true;
}
void closed(void *data, zwlr_layer_surface_v1 *)
{
    static_cast<Floor *>(data)->closed = true;
}
const zwlr_layer_surface_v1_listener layerListener = {configure, closed};

void release(void *data, wl_buffer *buffer)
{
    auto *floor = static_cast<Floor *>(data);
    for (int k = 0; k < 2; ++k)
        if (floor->buffers[k] == buffer)
            floor->busy[k] = false;
}
const wl_buffer_listener bufferListener = {release};

// A white face, a black ring one pixel inside the edge, and an 8x8 mark
// whose place depends on INDEX.
void fill(uint32_t *pixels, int index)
{
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const bool ring = x == 1 || y == 1 || x == side - 2 || y == side - 2;
            const int markX = index == 0 ? 23 : 33;
            const bool mark = x >= markX && x < markX + 8 && y >= 10 && y < 18;
            pixels[y * side + x] = ring || mark ? 0xff000000u : 0xffffffffu;
        }
}

} // namespace

int main(int argc, char **argv)
{
    const long period = argc > 1 ? std::atol(argv[1]) : 1;
    if (period < 1 || period > 3600)
        return 2;
    const bool bottom = argc > 2 && std::strcmp(argv[2], "bottom") == 0;
    const int left = argc > 3 ? std::atoi(argv[3]) : 0;
    // Local time's offset from UTC, as it is at the start (TZ may name an
    // offset of any number of seconds).
    const time_t start = time(nullptr);
    struct tm local;
    const long offset = localtime_r(&start, &local) ? local.tm_gmtoff : 0;

    wl_display *display = wl_display_connect(nullptr);
    if (!display)
        return 1;
    Floor floor;
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, &floor);
    wl_display_roundtrip(display);
    if (!floor.compositor || !floor.shm || !floor.layerShell)
        return 1;

    wl_surface *surface = wl_compositor_create_surface(floor.compositor);
    zwlr_layer_surface_v1 *layer = zwlr_layer_shell_v1_get_layer_surface(
        floor.layerShell, surface, nullptr, ZWLR_LAYER_SHELL_V1_LAYER_TOP, "tavock-floor");
    zwlr_layer_surface_v1_add_listener(layer, &layerListener, &floor);
    zwlr_layer_surface_v1_set_size(layer, side, side);
    zwlr_layer_surface_v1_set_anchor(layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT |
                                                (bottom ? ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM
                                                        : ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP));
    zwlr_layer_surface_v1_set_margin(layer, 0, 0, 0, left);
    wl_surface_commit(surface);
    while (!floor.configured && !floor.closed)
        if (wl_display_dispatch(display) < 0)
            return 1;

    const int fd = memfd_create("tavock-floor", MFD_CLOEXEC);
    if (fd < 0 || ftruncate(fd, 2 * bufferBytes) < 0)
        return 1;
    void *memory = mmap(nullptr, 2 * bufferBytes, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED)
        return 1;
    wl_shm_pool *pool = wl_shm_create_pool(floor.shm, fd, 2 * bufferBytes);
    for (int k = 0; k < 2; ++k) {
        fill(static_cast<uint32_t *>(memory) + k * side * side, k);
        floor.buffers[k] =
            wl_shm_pool_create_buffer(pool, k * bufferBytes, side, side, stride, WL_SHM_FORMAT_XRGB8888);
        wl_buffer_add_listener(floor.buffers[k], &bufferListener, &floor);
    }
    wl_shm_pool_destroy(pool);
    close(fd);

    int shown = 1; // the buffer on screen; the first frame shows the other
    struct pollfd watched = {wl_display_get_fd(display), POLLIN, 0};
    bool due = true;
    while (!floor.closed) {
        if (due) {
            const int next = 1 - shown;
            // Only a buffer the compositor has released may be attached
            // again; while the other is still held the frame is skipped.
            if (!floor.busy[next]) {
                wl_surface_attach(surface, floor.buffers[next], 0, 0);
                wl_surface_damage_buffer(surface, 0, 0, side, side);
                wl_surface_commit(surface);
                floor.busy[next] = true;
                shown = next;
            }
            due = false;
        }
        while (wl_display_prepare_read(display) != 0)
            wl_display_dispatch_pending(display);
        if (wl_display_flush(display) < 0) {
            wl_display_cancel_read(display);
            return 1;
        }
        const int timeout = millisecondsToBoundary(period, offset);
        const int ready = poll(&watched, 1, timeout);
        if (ready > 0) {
            if (wl_display_read_events(display) < 0)
                return 1;
            if (wl_display_dispatch_pending(display) < 0)
                return 1;
        } else {
            wl_display_cancel_read(display);
            due = ready == 0;
        }
    }
    return 0;
}

// The Wayland side of the running clock: the connection, the globals it
// binds, the tile's layer surface and its two buffers, in one record.
// setupWayland builds them once; the loop reads the flags the events set.
#pragma once

#include <cstddef>
#include <cstdint>

struct wl_display;
struct wl_registry;
struct wl_compositor;
struct wl_shm;
struct wl_seat;
struct wl_pointer;
struct wl_output;
struct wl_surface;
struct wl_buffer;
struct zwlr_layer_shell_v1;
struct zwlr_layer_surface_v1;

struct WaylandOutput {
    wl_output *output;  // the bound output, null for a free slot
    uint32_t name;      // its registry name, for global_remove
    int32_t scale;      // integer scale as last announced (done)
    int32_t newScale;   // scale announced, in effect at the next done
    bool entered;       // the tile's surface is on it
};

struct WaylandBuffer {
    wl_buffer *buffer;  // one half of the shared memory
    uint32_t *pixels;   // its first pixel in our mapping
    bool busy;          // attached and not yet released by the compositor
};

enum { MAX_WAYLAND_OUTPUTS = 16 };

struct ClockWayland {
    wl_display *display;                 // the connection
    wl_registry *registry;               // its globals
    wl_compositor *compositor;           // makes the surface
    wl_shm *shm;                         // makes the buffers
    wl_seat *seat;                       // the first seat, for its pointer
    wl_pointer *pointer;                 // null while the seat has no pointer
    zwlr_layer_shell_v1 *layerShell;     // makes the tile
    WaylandOutput outputs[MAX_WAYLAND_OUTPUTS]; // outputs known so far
    wl_surface *surface;                 // the tile
    zwlr_layer_surface_v1 *layerSurface; // its layer-shell role
    int width, height;                   // logical size asked for
    bool configured;                     // the first configure was acked
    bool closed;                         // the compositor closed the tile: time to exit 0
    int clicks;                          // button presses the loop has not served
    int scale;                           // buffer scale: the largest of the outputs it is on
    bool scaleChanged;                   // scale moved since the caller last looked: redraw now
    int attachedScale;                   // buffer scale the surface was last given
    WaylandBuffer buffers[2];            // drawn alternately, each reused once released
    int bufferWidth, bufferHeight;       // their size in pixels, 0 before the first
    int bufferScale;                     // the scale they were made for
    int stride;                          // bytes per row of either
    void *memory;                        // our mapping of both
    size_t memorySize;                   // its length
    int handedOut;                       // index waylandFrameBuffer returned last, -1 none
};

extern ClockWayland clockWayland;

// Connects to the Wayland display, binds the globals, and makes the tile:
// a layer surface of width x height logical pixels placed after geometry's
// position (tilePlacement), then waits for its first configure. A failure
// prints its line and exits with status 1. The compositor may close the
// tile before its first configure: clockWayland.closed says so.
void setupWayland(const char *geometry, int width, int height);

// Releases everything setupWayland and the buffers made, in reverse order,
// and closes the connection.
void teardownWayland();

// The buffer scale for a surface on the outputs marked entered: the
// largest of their scales; on none of them (not shown yet), the largest of
// all, so that the first frame is usually right; 1 without outputs.
int bufferScaleFor(const WaylandOutput *outputs, int count);

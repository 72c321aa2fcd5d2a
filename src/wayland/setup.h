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
    char outputName[64];// its own name (wl_output 4: "HEADLESS-1", "DP-2"), empty until known
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

// What the tile asks of the compositor.
struct TileRequest {
    const char *geometry;  // its position, read by tilePlacement
    int width, height;     // its logical size
    const char *output;    // the output's name; empty: the compositor's choice
    uint32_t layer;        // ZWLR_LAYER_SHELL_V1_LAYER_*
    bool takesClicks;      // false: an empty input region, clicks reach what is under it
};

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
    TileRequest request;                 // what the tile asks for (its texts are the settings')
    bool configured;                     // the tile's first configure was acked
    bool closed;                         // the compositor closed the tile: time to exit 0
    bool outputLost;                     // the output the tile was on went away
    bool waiting;                        // no tile now: its output is not there (yet)
    bool freshTile;                      // a new tile got its first configure: it wants a frame
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

// Connects to the Wayland display, binds the globals, and makes the tile
// as request asks, then waits for its first configure. A failure prints
// its line and exits with status 1. The compositor may close the tile
// before its first configure: clockWayland.closed says so. No output of
// the name asked: one line saying so and naming those there are, and the
// tile waits for it (clockWayland.waiting).
void setupWayland(const TileRequest &request);

// After the events of a wake-up: a tile whose output went away (the
// compositor may close it then, or leave it on no output) is taken down,
// and a tile that waits is put up once its output is there (the one
// named, else any). A close for any other cause stays in closed.
void followTileOutput();

// Releases everything setupWayland and the buffers made, in reverse order,
// and closes the connection.
void teardownWayland();

// The buffer scale for a surface on the outputs marked entered: the
// largest of their scales; on none of them (not shown yet), the largest of
// all, so that the first frame is usually right; 1 without outputs.
int bufferScaleFor(const WaylandOutput *outputs, int count);

// setupWayland: from the settings' size and position to a configured tile,
// in a fixed order (connection, globals, outputs and seat, layer surface,
// first configure), with one listener table per interface whose handlers
// are named after their events. Drawing and the loop are elsewhere.
#include "wayland/setup.h"

#include "wayland/buffers.h"
#include "wayland/connection.h"
#include "wayland/placement.h"

#include "wayland/layer_shell.h"
#include <wayland-client.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

ClockWayland clockWayland;

[[noreturn]] static void failWith(const char *line)
{
    std::fprintf(stderr, "%s\n", line);
    std::exit(1);
}

int bufferScaleFor(const WaylandOutput *outputs, int count)
{
    int onSurface = 0, anywhere = 0;
    for (int i = 0; i < count; i++) {
        if (!outputs[i].output)
            continue;
        anywhere = std::max(anywhere, outputs[i].scale);
        if (outputs[i].entered)
            onSurface = std::max(onSurface, outputs[i].scale);
    }
    int scale = onSurface > 0 ? onSurface : anywhere;
    return scale > 0 ? scale : 1;
}

// After every event that can move the tile to another scale: the caller
// learns through scaleChanged that its next frame is due now.
static void followScale()
{
    int scale = bufferScaleFor(clockWayland.outputs, MAX_WAYLAND_OUTPUTS);
    if (scale != clockWayland.scale) {
        clockWayland.scale = scale;
        clockWayland.scaleChanged = true;
    }
}

static WaylandOutput *outputFor(wl_output *output)
{
    for (WaylandOutput &slot : clockWayland.outputs)
        if (slot.output && slot.output == output)
            return &slot;
    return nullptr;
}

static void outputGeometry(void *, wl_output *, int32_t, int32_t, int32_t, int32_t, int32_t,
                           const char *, const char *, int32_t)
{
}

static void outputMode(void *, wl_output *, uint32_t, int32_t, int32_t, int32_t)
{
}

static void outputName(void *data, wl_output *, const char *name)
{
    WaylandOutput *slot = static_cast<WaylandOutput *>(data);
    std::snprintf(slot->outputName, sizeof slot->outputName, "%s", name);
}

static void outputDescription(void *, wl_output *, const char *) {}

static void outputDone(void *data, wl_output *)
{
    WaylandOutput *slot = static_cast<WaylandOutput *>(data);
    slot->scale = slot->newScale;
    followScale();
}

// A scale below 1 would make an empty buffer; it counts as 1.
static void outputScale(void *data, wl_output *, int32_t factor)
{
    static_cast<WaylandOutput *>(data)->newScale = factor > 0 ? factor : 1;
}

// Events of versions newer than the one bound are never sent; their
// entries stay empty.
static const wl_output_listener outputListener = [] {
    wl_output_listener l = {};
    l.geometry = outputGeometry;
    l.mode = outputMode;
    l.done = outputDone;
    l.scale = outputScale;
    l.name = outputName;
    l.description = outputDescription;
    return l;
}();

static void pointerEnter(void *, wl_pointer *, uint32_t, wl_surface *, wl_fixed_t, wl_fixed_t)
{
}

static void pointerLeave(void *, wl_pointer *, uint32_t, wl_surface *)
{
}

static void pointerMotion(void *, wl_pointer *, uint32_t, wl_fixed_t, wl_fixed_t)
{
}

// Any button, once per press, as on X; the loop runs the command, since a
// command that takes its time must not hold up the rest of these events.
static void pointerButton(void *, wl_pointer *, uint32_t, uint32_t, uint32_t, uint32_t state)
{
    if (state == WL_POINTER_BUTTON_STATE_PRESSED)
        clockWayland.clicks++;
}

static void pointerAxis(void *, wl_pointer *, uint32_t, uint32_t, wl_fixed_t)
{
}

static const wl_pointer_listener pointerListener = [] {
    wl_pointer_listener l = {};
    l.enter = pointerEnter;
    l.leave = pointerLeave;
    l.motion = pointerMotion;
    l.button = pointerButton;
    l.axis = pointerAxis;
    return l;
}();

static void seatCapabilities(void *, wl_seat *seat, uint32_t capabilities)
{
    bool hasPointer = capabilities & WL_SEAT_CAPABILITY_POINTER;
    if (hasPointer && !clockWayland.pointer) {
        clockWayland.pointer = wl_seat_get_pointer(seat);
        wl_pointer_add_listener(clockWayland.pointer, &pointerListener, nullptr);
    } else if (!hasPointer && clockWayland.pointer) {
        wl_pointer_destroy(clockWayland.pointer);
        clockWayland.pointer = nullptr;
    }
}

static const wl_seat_listener seatListener = [] {
    wl_seat_listener l = {};
    l.capabilities = seatCapabilities;
    return l;
}();

static void bindOutput(uint32_t name, uint32_t version)
{
    for (WaylandOutput &slot : clockWayland.outputs) {
        if (slot.output)
            continue;
        // Version 2 brings the scale and the done that applies it, 4 the
        // output's name.
        slot.output = static_cast<wl_output *>(wl_registry_bind(
            clockWayland.registry, name, &wl_output_interface, std::min(version, 4u)));
        slot.name = name;
        slot.outputName[0] = '\0';
        slot.scale = slot.newScale = 1;
        slot.entered = false;
        wl_output_add_listener(slot.output, &outputListener, &slot);
        return;
    }
    // Outputs beyond the table are not followed: the tile's scale may then
    // miss one of them, which costs sharpness and nothing else.
}

static void registryGlobal(void *, wl_registry *registry, uint32_t name, const char *interface,
                           uint32_t version)
{
    if (std::strcmp(interface, wl_compositor_interface.name) == 0 && !clockWayland.compositor) {
        // Version 4 damages in buffer pixels.
        clockWayland.compositor = static_cast<wl_compositor *>(
            wl_registry_bind(registry, name, &wl_compositor_interface, std::min(version, 4u)));
    } else if (std::strcmp(interface, wl_shm_interface.name) == 0 && !clockWayland.shm) {
        clockWayland.shm =
            static_cast<wl_shm *>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    } else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !clockWayland.seat) {
        clockWayland.seat =
            static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        wl_seat_add_listener(clockWayland.seat, &seatListener, nullptr);
    } else if (std::strcmp(interface, wl_output_interface.name) == 0) {
        bindOutput(name, version);
    } else if (std::strcmp(interface, zwlr_layer_shell_v1_interface.name) == 0 &&
               !clockWayland.layerShell) {
        clockWayland.layerShell = static_cast<zwlr_layer_shell_v1 *>(wl_registry_bind(
            registry, name, &zwlr_layer_shell_v1_interface,
            std::min(version, static_cast<uint32_t>(zwlr_layer_shell_v1_interface.version))));
    }
}

// Whether the tile is on output, or made for it by name.
static bool tileOn(const WaylandOutput &slot)
{
    const ClockWayland &w = clockWayland;
    return w.surface && (slot.entered || (*w.request.output &&
                                          std::strcmp(slot.outputName, w.request.output) == 0));
}

// An output unplugged: the surface's leave may not come first, so the
// scale is worked out again here. The tile's own output going away leaves
// the tile on no output: it must be put up again.
static void registryGlobalRemove(void *, wl_registry *, uint32_t name)
{
    for (WaylandOutput &slot : clockWayland.outputs) {
        if (slot.output && slot.name == name) {
            bool lost = tileOn(slot);
            wl_output_destroy(slot.output);
            slot = {};
            bool elsewhere = false;
            for (const WaylandOutput &other : clockWayland.outputs)
                elsewhere = elsewhere || (other.output && other.entered);
            clockWayland.outputLost = clockWayland.outputLost || (lost && !elsewhere);
            followScale();
        }
    }
}

static const wl_registry_listener registryListener = [] {
    wl_registry_listener l = {};
    l.global = registryGlobal;
    l.global_remove = registryGlobalRemove;
    return l;
}();

static void surfaceOn(wl_output *output, bool entered)
{
    if (WaylandOutput *slot = outputFor(output)) {
        slot->entered = entered;
        followScale();
    }
}

static void surfaceEnter(void *, wl_surface *, wl_output *output)
{
    surfaceOn(output, true);
}

static void surfaceLeave(void *, wl_surface *, wl_output *output)
{
    surfaceOn(output, false);
}

static const wl_surface_listener surfaceListener = [] {
    wl_surface_listener l = {};
    l.enter = surfaceEnter;
    l.leave = surfaceLeave;
    return l;
}();

// The size asked for is kept whatever the configure says: the tile is
// anchored to one corner, so the compositor has no reason to pick another.
// A configure after the first is answered by a commit of the buffer the
// surface already shows, so that it applies without waiting for a frame.
static void layerSurfaceConfigure(void *, zwlr_layer_surface_v1 *layerSurface, uint32_t serial,
                                  uint32_t, uint32_t)
{
    zwlr_layer_surface_v1_ack_configure(layerSurface, serial);
    if (clockWayland.configured)
        wl_surface_commit(clockWayland.surface);
    else
        clockWayland.freshTile = true;
    clockWayland.configured = true;
}

static void layerSurfaceClosed(void *, zwlr_layer_surface_v1 *)
{
    clockWayland.closed = true;
}

static const zwlr_layer_surface_v1_listener layerSurfaceListener = [] {
    zwlr_layer_surface_v1_listener l = {};
    l.configure = layerSurfaceConfigure;
    l.closed = layerSurfaceClosed;
    return l;
}();

static void roundtrip()
{
    if (wl_display_roundtrip(clockWayland.display) < 0)
        lostWaylandConnection();
}

static void requireGlobals()
{
    if (!clockWayland.layerShell)
        failWith("tavock: the Wayland compositor has no layer shell (zwlr_layer_shell_v1)");
    if (!clockWayland.compositor)
        failWith("tavock: the Wayland compositor has no wl_compositor");
    if (!clockWayland.shm)
        failWith("tavock: the Wayland compositor has no wl_shm");
}

// The output of the name the tile asks for, null when there is none.
static WaylandOutput *namedOutput()
{
    for (WaylandOutput &slot : clockWayland.outputs)
        if (slot.output && std::strcmp(slot.outputName, clockWayland.request.output) == 0)
            return &slot;
    return nullptr;
}

// A dock tile: on the layer asked for (above the windows by default), never
// taking the keyboard, pushing no window aside; on the output named, else
// on the compositor's choice. False when no output has the name.
static bool createTile()
{
    ClockWayland &w = clockWayland;
    const TileRequest &r = w.request;
    WaylandOutput *output = *r.output ? namedOutput() : nullptr;
    if (*r.output && !output)
        return false;
    w.surface = wl_compositor_create_surface(w.compositor);
    wl_surface_add_listener(w.surface, &surfaceListener, nullptr);
    if (!r.takesClicks) {
        // No input region at all: clicks go to whatever is under the tile.
        wl_region *none = wl_compositor_create_region(w.compositor);
        wl_surface_set_input_region(w.surface, none);
        wl_region_destroy(none);
    }
    w.layerSurface = zwlr_layer_shell_v1_get_layer_surface(
        w.layerShell, w.surface, output ? output->output : nullptr, r.layer, "tavock");
    zwlr_layer_surface_v1_add_listener(w.layerSurface, &layerSurfaceListener, nullptr);
    TilePlacement place = tilePlacement(r.geometry);
    zwlr_layer_surface_v1_set_size(w.layerSurface, static_cast<uint32_t>(r.width),
                                   static_cast<uint32_t>(r.height));
    zwlr_layer_surface_v1_set_anchor(w.layerSurface, place.anchor);
    zwlr_layer_surface_v1_set_margin(w.layerSurface, place.top, place.right, place.bottom,
                                     place.left);
    zwlr_layer_surface_v1_set_exclusive_zone(w.layerSurface, 0);
    zwlr_layer_surface_v1_set_keyboard_interactivity(w.layerSurface, 0);
    // The first commit carries no buffer: it asks for the first configure.
    wl_surface_commit(w.surface);
    return true;
}

// The tile taken down, its buffers with it: a new one starts afresh.
static void destroyTile()
{
    ClockWayland &w = clockWayland;
    destroyWaylandBuffers();
    if (w.layerSurface)
        zwlr_layer_surface_v1_destroy(w.layerSurface);
    if (w.surface)
        wl_surface_destroy(w.surface);
    w.layerSurface = nullptr;
    w.surface = nullptr;
    w.configured = w.closed = w.freshTile = false;
    w.attachedScale = 0;
    for (WaylandOutput &slot : w.outputs)
        slot.entered = false;
}

// The line of a name that no output has, with the names there are.
static void reportMissingOutput()
{
    std::string names;
    for (const WaylandOutput &slot : clockWayland.outputs)
        if (slot.output)
            names += (names.empty() ? "" : ", ") + std::string(slot.outputName);
    std::fprintf(stderr, "tavock: no Wayland output is named %s (%s%s), waiting for it\n",
                 clockWayland.request.output, names.empty() ? "there are none" : "there are ",
                 names.c_str());
}

void followTileOutput()
{
    ClockWayland &w = clockWayland;
    // The removal of the tile's output may come just after the close.
    if (w.closed && !w.outputLost)
        roundtrip();
    if (w.outputLost && w.surface) {
        destroyTile();
        w.waiting = true;
    }
    w.outputLost = false;
    if (!w.waiting)
        return;
    bool anyOutput = false;
    for (const WaylandOutput &slot : w.outputs)
        anyOutput = anyOutput || slot.output;
    if ((*w.request.output ? namedOutput() != nullptr : anyOutput) && createTile())
        w.waiting = false;
}

static void ignoreWaylandLog(const char *, va_list) {}

void setupWayland(const TileRequest &request)
{
    ClockWayland &w = clockWayland;
    w = {};
    w.request = request;
    w.handedOut = -1;
    // libwayland's own complaints (an unset XDG_RUNTIME_DIR, say) would
    // come before our line; the one line says it all.
    wl_log_set_handler_client(ignoreWaylandLog);
    w.display = wl_display_connect(nullptr);
    if (!w.display)
        failWith("tavock: cannot connect to the Wayland display");
    w.registry = wl_display_get_registry(w.display);
    wl_registry_add_listener(w.registry, &registryListener, nullptr);
    roundtrip();
    requireGlobals();
    // The outputs' scales and the seat's capabilities answer the binds.
    roundtrip();
    w.scale = bufferScaleFor(w.outputs, MAX_WAYLAND_OUTPUTS);
    if (!createTile()) {
        reportMissingOutput();
        w.waiting = true;
        return;
    }
    while (!w.configured && !w.closed)
        if (wl_display_dispatch(w.display) < 0)
            lostWaylandConnection();
    // The first frame is drawn at this scale anyway.
    w.scaleChanged = w.freshTile = false;
}

void teardownWayland()
{
    ClockWayland &w = clockWayland;
    if (!w.display)
        return;
    destroyTile();
    if (w.pointer)
        wl_pointer_destroy(w.pointer);
    if (w.seat)
        wl_seat_destroy(w.seat);
    for (WaylandOutput &slot : w.outputs)
        if (slot.output)
            wl_output_destroy(slot.output);
    if (w.layerShell) {
        // The destroy request exists from version 3; before it the object
        // is only forgotten.
        if (zwlr_layer_shell_v1_get_version(w.layerShell) >= ZWLR_LAYER_SHELL_V1_DESTROY_SINCE_VERSION)
            zwlr_layer_shell_v1_destroy(w.layerShell);
        else
            wl_proxy_destroy(reinterpret_cast<wl_proxy *>(w.layerShell));
    }
    if (w.shm)
        wl_shm_destroy(w.shm);
    if (w.compositor)
        wl_compositor_destroy(w.compositor);
    wl_registry_destroy(w.registry);
    wl_display_disconnect(w.display);
    w = {};
    w.handedOut = -1;
}

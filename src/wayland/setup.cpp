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
        // Version 2 brings the scale and the done that applies it.
        slot.output = static_cast<wl_output *>(wl_registry_bind(
            clockWayland.registry, name, &wl_output_interface, std::min(version, 2u)));
        slot.name = name;
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

// An output unplugged: the surface's leave may not come first, so the
// scale is worked out again here.
static void registryGlobalRemove(void *, wl_registry *, uint32_t name)
{
    for (WaylandOutput &slot : clockWayland.outputs) {
        if (slot.output && slot.name == name) {
            wl_output_destroy(slot.output);
            slot = {};
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

// A dock tile: above the windows, never taking the keyboard, pushing no
// window aside; the output is the compositor's choice.
static void createTile(const char *geometry)
{
    ClockWayland &w = clockWayland;
    w.surface = wl_compositor_create_surface(w.compositor);
    wl_surface_add_listener(w.surface, &surfaceListener, nullptr);
    w.layerSurface = zwlr_layer_shell_v1_get_layer_surface(
        w.layerShell, w.surface, nullptr, ZWLR_LAYER_SHELL_V1_LAYER_TOP, "tavock");
    zwlr_layer_surface_v1_add_listener(w.layerSurface, &layerSurfaceListener, nullptr);
    TilePlacement place = tilePlacement(geometry);
    zwlr_layer_surface_v1_set_size(w.layerSurface, static_cast<uint32_t>(w.width),
                                   static_cast<uint32_t>(w.height));
    zwlr_layer_surface_v1_set_anchor(w.layerSurface, place.anchor);
    zwlr_layer_surface_v1_set_margin(w.layerSurface, place.top, place.right, place.bottom,
                                     place.left);
    zwlr_layer_surface_v1_set_exclusive_zone(w.layerSurface, 0);
    zwlr_layer_surface_v1_set_keyboard_interactivity(w.layerSurface, 0);
    // The first commit carries no buffer: it asks for the first configure.
    wl_surface_commit(w.surface);
}

static void ignoreWaylandLog(const char *, va_list) {}

void setupWayland(const char *geometry, int width, int height)
{
    ClockWayland &w = clockWayland;
    w = {};
    w.width = width;
    w.height = height;
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
    createTile(geometry);
    while (!w.configured && !w.closed)
        if (wl_display_dispatch(w.display) < 0)
            lostWaylandConnection();
    // The first frame is drawn at this scale anyway.
    w.scaleChanged = false;
}

void teardownWayland()
{
    ClockWayland &w = clockWayland;
    if (!w.display)
        return;
    destroyWaylandBuffers();
    if (w.layerSurface)
        zwlr_layer_surface_v1_destroy(w.layerSurface);
    if (w.surface)
        wl_surface_destroy(w.surface);
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

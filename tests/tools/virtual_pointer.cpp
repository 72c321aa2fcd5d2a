// A pointer of our own for a compositor without input devices (a headless
// sway): moves to X,Y of a layout EXTENT_W x EXTENT_H in size and clicks
// the left button there. The device is made first and the move waits for
// the file GO_FILE (up to ten seconds), so that a client that binds the
// pointer only when the device appears is ready for the click.
#include "wlr-virtual-pointer-unstable-v1-client-protocol.h"
#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <linux/input-event-codes.h>
#include <unistd.h>

static zwlr_virtual_pointer_manager_v1 *manager;
static wl_seat *seat;

static void registryGlobal(void *, wl_registry *registry, uint32_t name, const char *interface,
                           uint32_t)
{
    if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
        manager = static_cast<zwlr_virtual_pointer_manager_v1 *>(
            wl_registry_bind(registry, name, &zwlr_virtual_pointer_manager_v1_interface, 1));
    else if (std::strcmp(interface, wl_seat_interface.name) == 0 && !seat)
        seat = static_cast<wl_seat *>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
}

static void registryGlobalRemove(void *, wl_registry *, uint32_t)
{
}

static const wl_registry_listener registryListener = {registryGlobal, registryGlobalRemove};

static uint32_t milliseconds()
{
    struct timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<uint32_t>(now.tv_sec * 1000 + now.tv_nsec / 1000000);
}

int main(int argc, char **argv)
{
    if (argc != 6) {
        std::fprintf(stderr, "usage: %s X Y EXTENT_W EXTENT_H GO_FILE\n", argv[0]);
        return 2;
    }
    wl_display *display = wl_display_connect(nullptr);
    if (!display) {
        std::fprintf(stderr, "virtual pointer: no Wayland display\n");
        return 1;
    }
    wl_registry *registry = wl_display_get_registry(display);
    wl_registry_add_listener(registry, &registryListener, nullptr);
    wl_display_roundtrip(display);
    if (!manager) {
        std::fprintf(stderr, "virtual pointer: no zwlr_virtual_pointer_manager_v1\n");
        return 1;
    }
    zwlr_virtual_pointer_v1 *pointer =
        zwlr_virtual_pointer_manager_v1_create_virtual_pointer(manager, seat);
    wl_display_roundtrip(display);
    for (int i = 0; i < 1000 && access(argv[5], F_OK) != 0; i++)
        usleep(10000);
    uint32_t x = static_cast<uint32_t>(std::atoi(argv[1]));
    uint32_t y = static_cast<uint32_t>(std::atoi(argv[2]));
    uint32_t width = static_cast<uint32_t>(std::atoi(argv[3]));
    uint32_t height = static_cast<uint32_t>(std::atoi(argv[4]));
    zwlr_virtual_pointer_v1_motion_absolute(pointer, milliseconds(), x, y, width, height);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    zwlr_virtual_pointer_v1_button(pointer, milliseconds(), BTN_LEFT,
                                   WL_POINTER_BUTTON_STATE_PRESSED);
    zwlr_virtual_pointer_v1_frame(pointer);
    zwlr_virtual_pointer_v1_button(pointer, milliseconds(), BTN_LEFT,
                                   WL_POINTER_BUTTON_STATE_RELEASED);
    zwlr_virtual_pointer_v1_frame(pointer);
    wl_display_roundtrip(display);
    zwlr_virtual_pointer_v1_destroy(pointer);
    zwlr_virtual_pointer_manager_v1_destroy(manager);
    if (seat)
        wl_seat_destroy(seat);
    wl_registry_destroy(registry);
    wl_display_disconnect(display);
    return 0;
}

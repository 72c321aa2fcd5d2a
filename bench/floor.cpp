// The floor for bench/idle: the least a clock can cost its client and its
// X server. On each second boundary (each minute boundary of local time
// with an argument of 60) it copies one pixmap, drawn once at the start,
// to its 54x54 window, flushes, and sleeps in poll until the next
// boundary: one wake-up and one request per tick, nothing drawn, nothing
// read. Plain XCB, so that no library work stands between the wake-up and
// the write.
#include "boundary.h"

#include <xcb/xcb.h>

#include <cstdlib>
#include <ctime>
#include <poll.h>

int main(int argc, char **argv)
{
    const long period = argc > 1 ? std::atol(argv[1]) : 1;
    if (period < 1 || period > 3600)
        return 2;
    // Local time's offset from UTC, as it is at the start (TZ may name an
    // offset of any number of seconds).
    const time_t start = time(nullptr);
    struct tm local;
    const long offset = localtime_r(&start, &local) ? local.tm_gmtoff : 0;
    xcb_connection_t *connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection))
        return 1;
    xcb_screen_t *screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;

    xcb_window_t window = xcb_generate_id(connection);
    const uint32_t background = screen->white_pixel;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 54, 54, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, XCB_CW_BACK_PIXEL,
                      &background);
    xcb_pixmap_t face = xcb_generate_id(connection);
    xcb_create_pixmap(connection, screen->root_depth, face, window, 54, 54);
    // No GraphicsExpose or NoExpose events come back for the copies.
    xcb_gcontext_t gc = xcb_generate_id(connection);
    const uint32_t values[] = {screen->white_pixel, 0};
    xcb_create_gc(connection, gc, face, XCB_GC_FOREGROUND | XCB_GC_GRAPHICS_EXPOSURES, values);
    const xcb_rectangle_t whole = {0, 0, 54, 54};
    xcb_poly_fill_rectangle(connection, face, gc, 1, &whole);
    const uint32_t black = screen->black_pixel;
    xcb_change_gc(connection, gc, XCB_GC_FOREGROUND, &black);
    const xcb_arc_t dial = {3, 3, 48, 48, 0, 360 * 64};
    xcb_poly_arc(connection, face, gc, 1, &dial);
    xcb_map_window(connection, window);
    xcb_flush(connection);

    struct pollfd watched = {xcb_get_file_descriptor(connection), POLLIN, 0};
    for (;;) {
        const int timeout = millisecondsToBoundary(period, offset);
        const int ready = poll(&watched, 1, timeout);
        if (ready < 0)
            continue;
        if (ready > 0) {
            // Nothing is asked for; whatever comes (an error) is dropped.
            while (xcb_generic_event_t *event = xcb_poll_for_event(connection))
                std::free(event);
            if (xcb_connection_has_error(connection))
                return 1;
            continue;
        }
        xcb_copy_area(connection, face, window, gc, 0, 0, 0, 0, 54, 54);
        xcb_flush(connection);
    }
}

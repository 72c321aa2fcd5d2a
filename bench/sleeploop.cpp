// The reference loop for bench/idle: what a clock that polls every 10 ms
// costs. Reads the time, drains events without waiting, redraws a little
// when the second changes, copies it to the window, sleeps 10 ms.
#include <X11/Xlib.h>
#include <ctime>
#include <unistd.h>

int main()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return 1;
    Window root = DefaultRootWindow(display);
    int screen = DefaultScreen(display);
    Window window = XCreateSimpleWindow(display, root, 120, 0, 54, 54, 0,
                                        BlackPixel(display, screen), WhitePixel(display, screen));
    Pixmap frame = XCreatePixmap(display, root, 54, 54, DefaultDepth(display, screen));
    XSelectInput(display, window, ExposureMask | ButtonPressMask);
    XMapWindow(display, window);
    XGCValues values;
    values.graphics_exposures = False;
    GC gc = XCreateGC(display, window, GCGraphicsExposures, &values);
    time_t last = 0;
    for (;;) {
        time_t now = time(nullptr);
        int pending = 0;
        if (now != last) {
            last = now;
            XSetForeground(display, gc, WhitePixel(display, screen));
            XFillRectangle(display, frame, gc, 0, 0, 54, 54);
            XSetForeground(display, gc, BlackPixel(display, screen));
            XDrawLine(display, frame, gc, 27, 27, 27 + (now % 60) - 30, 3);
            pending = 1;
        }
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == Expose && event.xexpose.count == 0)
                pending = 1;
        }
        if (pending)
            XCopyArea(display, frame, window, gc, 0, 0, 54, 54, 0, 0);
        usleep(10000);
    }
}

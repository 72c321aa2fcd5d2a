// Reads drawables back from the X server into the tests' own images.
#include <gtest/gtest.h>  // before Xlib, whose None and Bool macros clash

#include "image_support.h"

#include <X11/Xutil.h>
#include <string>

Image readImage(Display *display, Drawable d, unsigned int width, unsigned int height)
{
    Image out;
    XImage *image = XGetImage(display, d, 0, 0, width, height, AllPlanes, ZPixmap);
    if (!image) {
        ADD_FAILURE() << "the server gave no image of drawable " << d;
        return out;
    }
    out.width = image->width;
    out.height = image->height;
    out.pixels.reserve(static_cast<size_t>(out.width) * out.height);
    for (int y = 0; y < out.height; y++)
        for (int x = 0; x < out.width; x++)
            out.pixels.push_back(XGetPixel(image, x, y));
    XDestroyImage(image);
    return out;
}

int countPixels(const Image &image, unsigned long pixel, int x0, int y0, int x1, int y1)
{
    int n = 0;
    for (int y = y0; y <= y1; y++)
        for (int x = x0; x <= x1; x++)
            n += image.at(x, y) == pixel;
    return n;
}

// Clocks' windows come and go while a test looks for one: an error about a
// window that went away between the listing and the question is no failure.
static int ignoreError(Display *, XErrorEvent *)
{
    return 0;
}

Window findClassWindow(Display *display, const char *name, const char *cls)
{
    Window root = DefaultRootWindow(display), parent, *children = nullptr, found = 0;
    unsigned int count = 0;
    XSync(display, False);
    XErrorHandler previous = XSetErrorHandler(ignoreError);
    if (!XQueryTree(display, root, &root, &parent, &children, &count)) {
        XSetErrorHandler(previous);
        return 0;
    }
    for (unsigned int i = 0; i < count && !found; i++) {
        XClassHint hint;
        XWindowAttributes attributes;
        if (!XGetClassHint(display, children[i], &hint))
            continue;
        bool match = std::string(hint.res_name) == name && std::string(hint.res_class) == cls;
        XFree(hint.res_name);
        XFree(hint.res_class);
        if (match && XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable)
            found = children[i];
    }
    if (children)
        XFree(children);
    XSync(display, False);
    XSetErrorHandler(previous);
    return found;
}

// Pixels read back from the X server, for the tests that check what was drawn.
#pragma once

#include <X11/Xlib.h>
#include <cstddef>
#include <vector>

// The test's own copy of a drawable's pixels: it outlives the drawable and
// the connection. The test servers are 24 bits deep, so a pixel is 0xrrggbb.
struct Image {
    int width = 0, height = 0;
    std::vector<unsigned long> pixels;  // row by row
    unsigned long at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// The width x height pixels of d from its top left corner. A server that
// gives none fails the test and leaves the image empty.
Image readImage(Display *display, Drawable d, unsigned int width, unsigned int height);

// How many pixels of the rectangle from (x0, y0) to (x1, y1), both
// included, are the given one.
int countPixels(const Image &image, unsigned long pixel, int x0, int y0, int x1, int y1);

// The viewable top-level window of the class res_name/res_class (as
// XGetClassHint reads it), or 0 when there is none.
Window findClassWindow(Display *display, const char *name, const char *cls);

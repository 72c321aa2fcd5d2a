// The clock's frame drawn by the client with pixman, for a display that
// takes finished pixels (a Wayland shared-memory buffer): the X frame pixel
// for pixel, from the same settings, hand geometry, layers and images. No
// X server is involved; colours, the label font and the sprite images are
// read locally.
#pragma once

#include "canvas/font/labelfont.h"
#include "render/geometry.h"
#include "render/indicators.h"
#include "render/layers.h"

#include <cstdint>
#include <ctime>
#include <pixman.h>

// Built once by setupCanvas, kept for the whole run.
struct ClockCanvas {
    int width, height;              // the clock's own size, at 1x
    uint32_t backgroundPixel;       // dial background
    uint32_t foregroundPixel;       // ticks
    uint32_t layerPixels[HAND_LAYERS][3];  // per layer, per hand
    uint32_t labelPixel;            // label colour
    unsigned char *labelMask;       // width x height, 1 where the label inks; null without label
    pixman_image_t *face;           // background, bevel and ticks
    pixman_image_t *sheets[SPRITE_SHEET_COUNT]; // the indicator images, coloured
    pixman_image_t *frame;          // every frame is composed here at 1x
    pixman_image_t *layerSources[HAND_LAYERS][3]; // layerPixels as repeating one-pixel images
};

extern ClockCanvas clockCanvas;

// What a frame is drawn into: a buffer of 32-bit pixels in XRGB8888 (the X
// pixel values of a 24-bit TrueColor screen, as wl_shm takes them).
struct FramePixels {
    uint32_t *pixels;   // the first pixel
    int stride;         // bytes from one row to the next (a multiple of 4, at least width's)
    int width, height;  // in pixels: the clock's size times the magnification
    int scale;          // the output scale the buffer was made for
};

// setupDisplay's drawing half for a canvas: colours (with their messages),
// the label (measured and drawn by labelText; its two lines when the font
// is missing, labelOn then cleared), clockLayout, the sprite sheets, the
// face and the hand pixels, in the X order. Reads the settings as they
// stand: windowWidth and windowHeight must already hold the size the
// geometry gave. A sprite sheet whose colours do not parse gets the X
// message; false is then returned and the caller ends the clock with
// status 0, as on X.
bool setupCanvas(LabelTextCall labelText);

// How many times the frame magnifies the clock: its width over the
// clock's, 0 when its size is no whole multiple of the clock's.
int canvasMagnification(const FramePixels &frame);

// One frame for time t (the time shown, its hour already shifted) with the
// hands computeHandGeometry gives for t on handDial(canvasMagnification).
void drawCanvasFrame(const struct tm &t, const HandGeometry &hands, const FramePixels &frame);

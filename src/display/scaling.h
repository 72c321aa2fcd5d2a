// The RENDER side of a big clock: the magnified windows (-scale) and the
// pictures the anti-aliased hands and the label are drawn with (-smooth).
// Nothing here is made, and no request is sent, when neither is asked for.
#pragma once

#include <X11/Xlib.h>
#include <X11/extensions/Xrender.h>

// Set up once, kept for the whole run. Every picture is None when unused.
struct ScaledDrawing {
    Picture framePicture;        // framePixmap, read magnified through its transform
    Picture windowPictures[2];   // mainWindow, iconWindow: magnified copies land here
    Pixmap smoothPixmap;         // smooth hands: the frame at window size
    Picture smoothPicture;       // (framePixmap itself when the scale is 1)
    Picture layerSources[3][3];  // per layer and hand, one repeating pixel of its layerPixels
    Picture labelSource;         // ... of labelPixel
    Picture labelMask;           // the label's pixels, one bit deep, magnified
    XRenderPictFormat *coverageFormat;  // 8-bit alpha: the polygons' coverage
};

// The picture transform that magnifies by n with the nearest filter so that
// window pixel (x, y) shows frame pixel (x / n, y / n) exactly: 1/n where it
// is exact in 16.16 fixed point, else a projective form that divides by n.
void magnifyingTransform(int n, XTransform *transform);

// Before the windows are made: without a usable RENDER extension the clock
// is drawn at 1x without smoothing (one line on standard error), and a scale
// whose window would be too large is reduced (one line too). Changes
// settings.scale and settings.smooth, and sets the windows' scaled size.
void settleScaling();

// After the pixels are allocated: the pictures, sources and label mask that
// the scale and smoothing need.
void setupScaledDrawing();

// Composites source (through mask, or None) onto target over the whole
// window size: the frame's size times the scale.
void compositeWindowSized(int op, Picture source, Picture mask, Picture target);

// Puts the finished frame on window 0 (mainWindow) or 1 (iconWindow).
void showFrameOn(int which);

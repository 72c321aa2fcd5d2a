// Anti-aliased hands on X: each layer's triangles (render/shapes.h) filled
// by RENDER with coverage, over the frame at window resolution.
#pragma once

// Draws hand i's layers that are on (fill, stroke, outline, in this order)
// anti-aliased onto the window-sized frame. handGeometry must have been
// computed on handDial(settings.scale).
void drawSmoothHand(int i);

// Hand styles: which of the stroke, outline and fill layers each hand uses.
#pragma once

// The layers of a hand, in the order they are drawn.
enum { FILL_LAYER, STROKE_LAYER, OUTLINE_LAYER, HAND_LAYERS };

// Whether hand i draws the layer (settings.handLayers).
bool layerOn(int hand, int layer);

// Sets the nine HandLayers switches from outlinedHands, fancyHands and
// thinSeconds. Runs once, after the command line; relies on the defaults
// having cleared the switches.
void deriveHandLayers();

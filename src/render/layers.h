// Hand styles: which of the stroke, outline and fill layers each hand uses.
#pragma once

// Sets the nine HandLayers switches from outlinedHands, fancyHands and
// thinSeconds. Runs once, after the command line; relies on the defaults
// having cleared the switches.
void deriveHandLayers();

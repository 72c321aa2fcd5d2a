// Start-up: defaults, the -rc scan, the resource file, the command line and
// the hand layers, in that order.
#pragma once

#include <cstddef>

// Fills settings from the three layers and derives the hand layers.
void startUp(int argc, char **argv);

// Builds HOME/.tavockrc into out (size outSize). False when home is null or
// the path would not fit: the default file is then simply not read.
bool defaultRcPath(const char *home, char *out, size_t outSize);

// Whether the clock goes to the Wayland display: when -wayland or the
// wayland keyword asked for it, or when nothing names an X display (no
// -display, DISPLAY unset or empty) while WAYLAND_DISPLAY is set.
bool waylandChosen(int waylandAsked, const char *displayName, const char *xDisplay,
                   const char *waylandDisplay);

// Setting up the screen chosen: the X display, built into the program, or
// the Wayland tile, a module of its own that only a clock on Wayland loads.
// The tile's label font reader is one more module, loaded for the label's
// set-up alone, so that FreeType leaves with it.
#include "app/screens.h"

#include "app/modules.h"
#include "canvas/font/labelfont.h"
#include "display/events.h"
#include "display/setup.h"
#include "wayland/tile.h"

#include <cstdlib>

const ClockScreen *screen = &xScreen;

static bool labelTextFromModule(const char *font, const char *text, LabelText *label)
{
    void *module;
    auto call = reinterpret_cast<LabelTextCall>(
        moduleEntry("tavock-font.so", "tavockLabelText", &module));
    bool found = call && call(font, text, label);
    closeModule(module);
    return found;
}

void setupScreen(bool wayland, int argc, char **argv)
{
    if (!wayland) {
        setupDisplay(argc, argv);
        screen = &xScreen;
        return;
    }
    void *module;
    auto tile = reinterpret_cast<WaylandTileEntry>(
        moduleEntry("tavock-wayland.so", "tavockWaylandTile", &module));
    if (!tile)
        std::exit(1);
    screen = tile(labelTextFromModule);
}

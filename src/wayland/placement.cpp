// tilePlacement: the X geometry string's position as layer-shell anchors;
// tileLayer: a layer's name as the layer shell numbers it.
#include "wayland/placement.h"

#include "wayland/layer_shell.h"

#include <X11/Xutil.h>
#include <climits>
#include <cstring>

// Xlib hands back whatever its own arithmetic made of a huge number; the
// one value whose negation overflows is kept just inside.
static int32_t negated(int value)
{
    return value == INT_MIN ? INT_MAX : -value;
}

TilePlacement tilePlacement(const char *geometry)
{
    TilePlacement p = {};
    int x = 0, y = 0;
    unsigned int width, height;
    int mask = geometry && *geometry ? XParseGeometry(geometry, &x, &y, &width, &height) : 0;
    // X reads -X as the distance of the window's right edge from the
    // screen's right edge, so a negative coordinate's margin is -x; "--5"
    // (5 beyond the edge) thus becomes the margin -5, as on X.
    if ((mask & XValue) && !(mask & XNegative)) {
        p.anchor |= ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT;
        p.left = x;
    } else {
        p.anchor |= ZWLR_LAYER_SURFACE_V1_ANCHOR_RIGHT;
        p.right = (mask & XValue) ? negated(x) : 0;
    }
    if ((mask & YValue) && (mask & YNegative)) {
        p.anchor |= ZWLR_LAYER_SURFACE_V1_ANCHOR_BOTTOM;
        p.bottom = negated(y);
    } else {
        p.anchor |= ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP;
        p.top = (mask & YValue) ? y : 0;
    }
    return p;
}

bool tileLayer(const char *name, uint32_t *layer)
{
    static const char *const names[] = {"background", "bottom", "top", "overlay"};
    *layer = ZWLR_LAYER_SHELL_V1_LAYER_TOP;
    if (!*name)
        return true;
    for (uint32_t i = 0; i < 4; i++)
        if (std::strcmp(name, names[i]) == 0) {
            *layer = ZWLR_LAYER_SHELL_V1_LAYER_BACKGROUND + i;
            return true;
        }
    return false;
}

// Where the tile sits on a Wayland output: the layer surface's anchors and
// margins read from an X geometry string's position, without a compositor.
#pragma once

#include <cstdint>

struct TilePlacement {
    uint32_t anchor;   // ZWLR_LAYER_SURFACE_V1_ANCHOR_* bits: one vertical, one horizontal edge
    int32_t top;       // margin from the top edge (used when anchored there)
    int32_t right;     // margin from the right edge
    int32_t bottom;    // margin from the bottom edge
    int32_t left;      // margin from the left edge
};

// The position part of geometry (its size is the caller's): +X anchors
// left with margin X, -X right; +Y anchors top with margin Y, -Y bottom.
// A missing coordinate means the dock's place: the top or right edge,
// margin 0. Null, empty or unparsable strings give the top-right corner.
TilePlacement tilePlacement(const char *geometry);

// The layer-shell layer named background, bottom, top or overlay (empty:
// top) into *layer; false for any other name, *layer then top.
bool tileLayer(const char *name, uint32_t *layer);

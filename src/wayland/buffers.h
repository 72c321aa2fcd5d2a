// The tile's two wl_shm buffers (XRGB8888): made once per size, drawn into
// alternately, each reused once the compositor has released it.
#pragma once

#include "canvas/canvas.h"

// A free buffer for a frame at buffer scale scale (the tile's logical size
// times scale), into frame; false while the compositor holds both: a
// release wakes the loop, which tries again then. Buffers of another size
// are replaced.
bool waylandFrameBuffer(int scale, FramePixels *frame);

// Shows the buffer waylandFrameBuffer handed out last: attach, damage all
// of it, set the scale it was drawn at, commit. The loop's flush sends it.
void presentWaylandFrame();

// Whether two buffers of width x height pixels fit one wl_shm pool, whose
// sizes and offsets are 32-bit.
bool waylandBuffersFit(long long width, long long height);

// Lets go of both buffers and their memory.
void destroyWaylandBuffers();

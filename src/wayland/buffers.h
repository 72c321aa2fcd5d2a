// The tile's two wl_shm buffers (XRGB8888): made once per size, drawn into
// alternately, each reused once the compositor has released it.
#pragma once

#include <cstdint>

// The pixels of a free buffer for a frame at buffer scale scale (the
// tile's logical size times scale; rows of *stride bytes, pixels
// 0x00RRGGBB), or null while the compositor holds both: a release wakes
// the loop, which tries again then. Buffers of another size are replaced.
uint32_t *waylandFrameBuffer(int scale, int *stride);

// Shows the buffer waylandFrameBuffer handed out last: attach, damage all
// of it, set the scale it was drawn at, commit. The loop's flush sends it.
void presentWaylandFrame();

// Lets go of both buffers and their memory.
void destroyWaylandBuffers();

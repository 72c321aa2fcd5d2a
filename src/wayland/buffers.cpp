// Two buffers in one shared-memory file: a new frame goes into whichever
// the compositor does not hold, so no frame ever waits for it and no
// buffer is made per frame.
#include "wayland/buffers.h"

#include "wayland/setup.h"

#include <wayland-client.h>

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <sys/mman.h>
#include <unistd.h>

static void bufferRelease(void *data, wl_buffer *)
{
    static_cast<WaylandBuffer *>(data)->busy = false;
}

static const wl_buffer_listener bufferListener = [] {
    wl_buffer_listener l = {};
    l.release = bufferRelease;
    return l;
}();

void destroyWaylandBuffers()
{
    ClockWayland &w = clockWayland;
    // A buffer the compositor still shows may go: its copy of the memory
    // stays valid until it lets go of it.
    for (WaylandBuffer &b : w.buffers) {
        if (b.buffer)
            wl_buffer_destroy(b.buffer);
        b = {};
    }
    if (w.memory)
        munmap(w.memory, w.memorySize);
    w.memory = nullptr;
    w.memorySize = 0;
    w.bufferWidth = w.bufferHeight = w.stride = 0;
    w.handedOut = -1;
    w.bufferScale = 0;
}

bool waylandBuffersFit(long long width, long long height)
{
    return width * 4 * height * 2 <= std::numeric_limits<int32_t>::max();
}

// One file holding both buffers; the pool that cuts them out of it is
// dropped at once, since the buffers keep the memory alive on both sides.
// wl_shm sizes and offsets are 32-bit: a larger tile is refused.
static void makeBuffers(int scale)
{
    ClockWayland &w = clockWayland;
    destroyWaylandBuffers();
    long long width = static_cast<long long>(w.request.width) * scale;
    long long height = static_cast<long long>(w.request.height) * scale;
    if (width <= 0 || height <= 0 || !waylandBuffersFit(width, height)) {
        std::fprintf(stderr, "tavock: cannot make the tile's buffers (%lldx%lld pixels)\n",
                     width, height);
        std::exit(1);
    }
    int stride = static_cast<int>(width * 4);
    size_t one = static_cast<size_t>(stride) * static_cast<size_t>(height);
    int fd = memfd_create("tavock-frame", MFD_CLOEXEC);
    void *memory = MAP_FAILED;
    if (fd >= 0 && ftruncate(fd, static_cast<off_t>(2 * one)) == 0)
        memory = mmap(nullptr, 2 * one, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        std::perror("tavock: cannot make the tile's buffers");
        std::exit(1);
    }
    // The request carries a copy of the descriptor, so ours can go now.
    wl_shm_pool *pool = wl_shm_create_pool(w.shm, fd, static_cast<int32_t>(2 * one));
    close(fd);
    for (int i = 0; i < 2; i++) {
        WaylandBuffer &b = w.buffers[i];
        b.buffer = wl_shm_pool_create_buffer(pool, static_cast<int32_t>(i * one),
                                             static_cast<int32_t>(width),
                                             static_cast<int32_t>(height), stride,
                                             WL_SHM_FORMAT_XRGB8888);
        b.pixels = reinterpret_cast<uint32_t *>(static_cast<char *>(memory) + i * one);
        b.busy = false;
        wl_buffer_add_listener(b.buffer, &bufferListener, &b);
    }
    wl_shm_pool_destroy(pool);
    w.memory = memory;
    w.memorySize = 2 * one;
    w.bufferWidth = static_cast<int>(width);
    w.bufferHeight = static_cast<int>(height);
    w.stride = stride;
    w.bufferScale = scale;
}

bool waylandFrameBuffer(int scale, FramePixels *frame)
{
    ClockWayland &w = clockWayland;
    if (scale != w.bufferScale || !w.memory)
        makeBuffers(scale);
    w.handedOut = -1;
    for (int i = 0; i < 2; i++) {
        if (!w.buffers[i].busy) {
            w.handedOut = i;
            *frame = FramePixels{w.buffers[i].pixels, w.stride, w.bufferWidth, w.bufferHeight,
                                 scale};
            return true;
        }
    }
    return false;
}

void presentWaylandFrame()
{
    ClockWayland &w = clockWayland;
    if (w.handedOut < 0)
        return;
    WaylandBuffer &b = w.buffers[w.handedOut];
    if (w.bufferScale != w.attachedScale) {
        wl_surface_set_buffer_scale(w.surface, w.bufferScale);
        w.attachedScale = w.bufferScale;
    }
    wl_surface_attach(w.surface, b.buffer, 0, 0);
    if (wl_surface_get_version(w.surface) >= WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION)
        wl_surface_damage_buffer(w.surface, 0, 0, w.bufferWidth, w.bufferHeight);
    else
        wl_surface_damage(w.surface, 0, 0, w.request.width, w.request.height);
    wl_surface_commit(w.surface);
    b.busy = true;
    w.handedOut = -1;
}

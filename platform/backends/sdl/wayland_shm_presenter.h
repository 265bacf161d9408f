// Shows a window's picture on a Wayland surface through shared-memory (wl_shm) buffers, the
// Wayland counterpart of X11's shared-memory images. SDL's Wayland driver has no window surface
// of its own: it would draw ours as OpenGL textures, which on a machine without a GPU delays the
// launcher's first frame by about a hundred milliseconds (a software renderer has to start).
#pragma once

#include <memory>
#include <vector>

#include "platform/graphics/surface.h"

struct wl_display;
struct wl_surface;
struct wl_event_queue;
struct wl_shm;

namespace platform {

class ShmBuffer;

class WaylandShmPresenter {
  public:
    // Binds the compositor's wl_shm for `surface`; nullptr when the compositor offers none. The
    // presenter's own objects live on a queue of their own, so that whoever reads the
    // connection's events (SDL) never runs our handlers and we never run theirs.
    static std::unique_ptr<WaylandShmPresenter> Create(wl_display* display, wl_surface* surface);
    ~WaylandShmPresenter();
    WaylandShmPresenter(const WaylandShmPresenter&) = delete;
    WaylandShmPresenter& operator=(const WaylandShmPresenter&) = delete;

    // Brings `dirty` of `picture` to the screen in a buffer of width x height (the surface's
    // size, which the compositor may have chosen), attaches and commits it. Parts of the buffer
    // outside the picture stay black. The area copied (clipped to both sizes, empty when there
    // was nothing to show) goes to *copied. False when a frame was due but could not be
    // committed (no buffer came free in time, no memory, a broken connection).
    bool Present(const Surface& picture, const RECT& dirty, int width, int height, RECT* copied);

    // Buffers made so far and not yet dropped (for tests).
    std::size_t BufferCount() const { return buffers_.size(); }

  private:
    WaylandShmPresenter(wl_display* display, wl_surface* surface, wl_event_queue* queue,
                        wl_shm* shm);
    // A buffer of the size that the compositor has released; made anew when none is free.
    ShmBuffer* FreeBuffer(int width, int height);
    // Waits a bounded time for the compositor to release one of the buffers.
    bool WaitForRelease();

    wl_display* display_;
    wl_surface* surface_;
    wl_event_queue* queue_;
    wl_shm* shm_;
    std::vector<std::unique_ptr<ShmBuffer>> buffers_;
    // The size of the buffer committed last.
    int shownWidth_ = 0;
    int shownHeight_ = 0;
};

}  // namespace platform

// Shows a window's picture on a Wayland surface through shared-memory (wl_shm) buffers, the
// Wayland counterpart of X11's shared-memory images. SDL's Wayland driver has no window surface
// of its own: it would draw ours as OpenGL textures, which on a machine without a GPU delays the
// launcher's first frame by about a hundred milliseconds (a software renderer has to start).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/graphics/surface.h"

struct wl_display;
struct wl_surface;
struct wl_event_queue;
struct wl_shm;
struct wl_callback;

namespace platform {

class ShmBuffer;

class WaylandShmPresenter {
  public:
    // Binds the compositor's wl_shm for `surface`; nullptr when the compositor offers none. The
    // presenter's own objects live on a queue of their own, so that whoever reads the
    // connection's events (SDL) never runs our handlers and we never run theirs.
    static std::unique_ptr<WaylandShmPresenter> Create(wl_display* display, wl_surface* surface);
    // The same with a wl_shm the caller has bound (and keeps). With `paceByFrames`, every commit
    // asks for a frame callback, and FramePending() says when the compositor cannot show a new
    // frame yet: the caller keeps its changes until it can.
    static std::unique_ptr<WaylandShmPresenter> Create(wl_display* display, wl_surface* surface,
                                                       wl_shm* shm, bool paceByFrames);
    ~WaylandShmPresenter();
    WaylandShmPresenter(const WaylandShmPresenter&) = delete;
    WaylandShmPresenter& operator=(const WaylandShmPresenter&) = delete;

    // Brings `dirty` of `picture` to the screen in a buffer of width x height (the surface's
    // size, which the compositor may have chosen), attaches and commits it. Parts of the buffer
    // outside the picture stay black. The area copied (clipped to both sizes, empty when there
    // was nothing to show) goes to *copied. False when a frame was due but could not be
    // committed (no buffer came free in time, no memory, a broken connection). With a `lead`,
    // the picture starts that far into the buffer, which is transparent before it: a surface
    // placed in whole surface units shows the picture at an exact pixel.
    bool Present(const Surface& picture, const RECT& dirty, int width, int height, RECT* copied,
                 POINT lead = {0, 0});

    // Buffers made so far and not yet dropped (for tests).
    std::size_t BufferCount() const { return buffers_.size(); }

    // A frame callback asked for with the last commit has not come yet.
    bool FramePending() const { return frame_ != nullptr; }
    // Handles the events that came for the presenter's objects (releases, frame callbacks)
    // after the caller read the connection; false when the connection broke.
    bool DispatchPending();

  private:
    WaylandShmPresenter(wl_display* display, wl_surface* surface, wl_event_queue* queue,
                        wl_shm* shm, bool ownsShm, bool paceByFrames);
    static void OnFrameDone(void* data, wl_callback* callback, std::uint32_t time);
    // A buffer of the size that the compositor has released; made anew when none is free.
    ShmBuffer* FreeBuffer(int width, int height, POINT lead);
    // Waits a bounded time for the compositor to release one of the buffers.
    bool WaitForRelease();

    wl_display* display_;
    wl_surface* surface_;
    wl_event_queue* queue_;
    // A wrapper of the caller's wl_shm on our queue, or a wl_shm of our own.
    wl_shm* shm_;
    bool ownsShm_;
    // The surface as seen from our queue, for frame callbacks; nullptr without pacing.
    wl_surface* frameSurface_ = nullptr;
    wl_callback* frame_ = nullptr;
    std::vector<std::unique_ptr<ShmBuffer>> buffers_;
    // The size of the buffer committed last.
    int shownWidth_ = 0;
    int shownHeight_ = 0;
};

}  // namespace platform

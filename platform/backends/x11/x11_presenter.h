// Putting a window's picture on the X screen: through a shared memory segment where the server
// offers MIT-SHM on this machine, else as images sent in strips that fit its requests.
#pragma once

#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/backends/x11/x11_connection.h"
#include "platform/base/win_types.h"
#include "platform/graphics/surface.h"

namespace platform {

class X11Presenter {
  public:
    X11Presenter(const X11Connection& connection, xcb_window_t window);
    ~X11Presenter();
    X11Presenter(const X11Presenter&) = delete;
    X11Presenter& operator=(const X11Presenter&) = delete;

    // Shows `dirty` of the surface (window coordinates), clipped to it: the sequence number of
    // the first request that carries it, nothing when nothing could be sent.
    std::optional<unsigned int> Present(const Surface& surface, const RECT& dirty);

  private:
    bool EnsureSegment(int width, int height);
    void ReleaseSegment();
    // Returns once the server has taken the segment's last picture, before it is written again.
    void WaitUntilRead();
    unsigned int PutInStrips(const Surface& surface, const RECT& area);

    const X11Connection& connection_;
    xcb_window_t window_;
    xcb_gcontext_t context_;
    bool sharedMemory_;
    xcb_shm_seg_t segment_ = 0;
    void* address_ = nullptr;
    int segmentWidth_ = 0;
    int segmentHeight_ = 0;
    bool readPending_ = false;
};

}  // namespace platform

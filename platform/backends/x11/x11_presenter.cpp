// Shared memory segments and image strips for the X server.
#include "platform/backends/x11/x11_presenter.h"

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/base/memory_pages.h"
#include "platform/base/rect.h"

namespace platform {
namespace {

constexpr std::size_t kPutImageHeaderBytes = 24;

}  // namespace

X11Presenter::X11Presenter(const X11Connection& connection, xcb_window_t window)
    : connection_(connection),
      window_(window),
      context_(xcb_generate_id(connection.Get())),
      sharedMemory_(connection.HasSharedMemory()) {
    const std::uint32_t noExposures = 0;
    xcb_create_gc(connection.Get(), context_, window, XCB_GC_GRAPHICS_EXPOSURES, &noExposures);
}

X11Presenter::~X11Presenter() {
    ReleaseSegment();
    xcb_free_gc(connection_.Get(), context_);
}

void X11Presenter::ReleaseSegment() {
    if (address_ == nullptr) return;
    WaitUntilRead();
    xcb_shm_detach(connection_.Get(), segment_);
    ::shmdt(address_);
    address_ = nullptr;
    segmentWidth_ = segmentHeight_ = 0;
}

bool X11Presenter::EnsureSegment(int width, int height) {
    if (address_ != nullptr && width <= segmentWidth_ && height <= segmentHeight_) return true;
    ReleaseSegment();
    const std::size_t bytes = static_cast<std::size_t>(width) * height * sizeof(Pixel);
    const int id = ::shmget(IPC_PRIVATE, bytes, IPC_CREAT | 0600);
    if (id < 0) return false;
    void* address = ::shmat(id, nullptr, 0);
    if (address == reinterpret_cast<void*>(-1)) {
        ::shmctl(id, IPC_RMID, nullptr);
        return false;
    }
    segment_ = xcb_generate_id(connection_.Get());
    XcbReply<xcb_generic_error_t> error(xcb_request_check(
        connection_.Get(), xcb_shm_attach_checked(connection_.Get(), segment_, id, 0)));
    // Marked for removal now: it goes once both sides have let go, even if we crash.
    ::shmctl(id, IPC_RMID, nullptr);
    if (error) {
        // A server on another machine cannot see our memory.
        ::shmdt(address);
        return false;
    }
    // The first picture fills the segment: its pages mapped at once.
    MapPagesForWriting(address, bytes);
    address_ = address;
    segmentWidth_ = width;
    segmentHeight_ = height;
    return true;
}

void X11Presenter::WaitUntilRead() {
    if (!readPending_) return;
    // The server handles our requests in order: once it answers a later one, it has copied the
    // picture out of the segment.
    XcbReply<xcb_get_input_focus_reply_t> reply(xcb_get_input_focus_reply(
        connection_.Get(), xcb_get_input_focus(connection_.Get()), nullptr));
    readPending_ = false;
}

std::optional<unsigned int> X11Presenter::Present(const Surface& surface, const RECT& dirty) {
    RECT area{};
    const RECT bounds = surface.Bounds();
    if (!IntersectRect(&area, &dirty, &bounds)) return std::nullopt;
    if (sharedMemory_ && !EnsureSegment(surface.Width(), surface.Height())) sharedMemory_ = false;
    if (!sharedMemory_) return PutInStrips(surface, area);
    WaitUntilRead();
    // The segment is laid out as the surface is, so only the changed rows are copied.
    auto* pixels = static_cast<Pixel*>(address_);
    const int width = area.right - area.left;
    for (int y = area.top; y < area.bottom; ++y) {
        std::memcpy(pixels + static_cast<std::ptrdiff_t>(y) * surface.Width() + area.left,
                    surface.Row(y) + area.left, static_cast<std::size_t>(width) * sizeof(Pixel));
    }
    const xcb_void_cookie_t put = xcb_shm_put_image(
        connection_.Get(), window_, context_, static_cast<std::uint16_t>(surface.Width()),
        static_cast<std::uint16_t>(surface.Height()), static_cast<std::uint16_t>(area.left),
        static_cast<std::uint16_t>(area.top), static_cast<std::uint16_t>(width),
        static_cast<std::uint16_t>(area.bottom - area.top), static_cast<std::int16_t>(area.left),
        static_cast<std::int16_t>(area.top), 24, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment_, 0);
    readPending_ = true;
    return put.sequence;
}

unsigned int X11Presenter::PutInStrips(const Surface& surface, const RECT& area) {
    const int width = area.right - area.left;
    const std::size_t rowBytes = static_cast<std::size_t>(width) * sizeof(Pixel);
    const std::size_t room = connection_.MaximumRequestBytes() - kPutImageHeaderBytes;
    const int rowsPerStrip = std::max(1, static_cast<int>(room / rowBytes));
    std::vector<Pixel> strip;
    std::optional<unsigned int> first;
    for (int top = area.top; top < area.bottom; top += rowsPerStrip) {
        const int rows = std::min(rowsPerStrip, area.bottom - top);
        strip.resize(static_cast<std::size_t>(width) * rows);
        for (int row = 0; row < rows; ++row) {
            std::memcpy(strip.data() + static_cast<std::ptrdiff_t>(row) * width,
                        surface.Row(top + row) + area.left, rowBytes);
        }
        const xcb_void_cookie_t put =
            xcb_put_image(connection_.Get(), XCB_IMAGE_FORMAT_Z_PIXMAP, window_, context_,
                          static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(rows),
                          static_cast<std::int16_t>(area.left), static_cast<std::int16_t>(top), 0,
                          24, static_cast<std::uint32_t>(rowBytes * rows),
                          reinterpret_cast<const std::uint8_t*>(strip.data()));
        if (!first) first = put.sequence;
    }
    return *first;  // the area is not empty: one strip at least
}

}  // namespace platform

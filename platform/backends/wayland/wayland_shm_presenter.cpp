// wl_shm presentation. The compositor reads a committed buffer until it releases it, so frames
// go to whichever buffer is free, and each buffer remembers the part of the picture it has
// missed while others were on screen ("behind"): a frame copies what changed plus that backlog,
// never the whole window unless the buffer is new.
#include "platform/backends/wayland/wayland_shm_presenter.h"

#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <limits>

#include "platform/base/rect.h"

namespace platform {
namespace {

// Two buffers suffice when the compositor releases the one replaced at once; a renderer that
// keeps a buffer until its next repaint may hold one more.
constexpr std::size_t kMaxBuffers = 3;
// How long a frame may wait for the compositor to hand a buffer back before it is dropped (the
// window then asks for a full picture on its next turn).
constexpr std::chrono::milliseconds kReleaseWait{250};

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return fd_; }

  private:
    int fd_;
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t /*version*/) {
    auto** shm = static_cast<wl_shm**>(data);
    if (*shm == nullptr && std::strcmp(interface, wl_shm_interface.name) == 0) {
        *shm = static_cast<wl_shm*>(wl_registry_bind(registry, name, &wl_shm_interface, 1));
    }
}

void OnGlobalRemoved(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

constexpr wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemoved};

}  // namespace

// One shared-memory buffer of XRGB8888 pixels, the layout of our surfaces (0x00RRGGBB), or of
// ARGB8888 ones where parts of it are to show nothing (transparent, as a new buffer's zeros are).
class ShmBuffer {
  public:
    static std::unique_ptr<ShmBuffer> Create(wl_shm* shm, int width, int height, POINT lead) {
        const bool alpha = lead.x != 0 || lead.y != 0;
        const std::size_t stride = static_cast<std::size_t>(width) * sizeof(Pixel);
        const std::size_t size = stride * static_cast<std::size_t>(height);
        if (size > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
            return nullptr;
        }
        const FileDescriptor file(::memfd_create("tavrel-window", MFD_CLOEXEC));
        if (file.Get() < 0 || ::ftruncate(file.Get(), static_cast<off_t>(size)) != 0) {
            return nullptr;
        }
        // Populated at once: faulting a window's megabytes in page by page on the first copy
        // costs the first frame several milliseconds more.
        void* pixels =
            ::mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED | MAP_POPULATE, file.Get(), 0);
        if (pixels == MAP_FAILED) return nullptr;
        wl_shm_pool* pool = wl_shm_create_pool(shm, file.Get(), static_cast<std::int32_t>(size));
        wl_buffer* buffer =
            wl_shm_pool_create_buffer(pool, 0, width, height, static_cast<std::int32_t>(stride),
                                      alpha ? WL_SHM_FORMAT_ARGB8888 : WL_SHM_FORMAT_XRGB8888);
        // The buffer keeps the pool's memory; neither the pool nor the descriptor is needed.
        wl_shm_pool_destroy(pool);
        return std::unique_ptr<ShmBuffer>(
            new ShmBuffer(buffer, static_cast<Pixel*>(pixels), size, width, height, lead));
    }

    ~ShmBuffer() {
        if (buffer_ != nullptr) wl_buffer_destroy(buffer_);
        ::munmap(pixels_, size_);
    }
    ShmBuffer(const ShmBuffer&) = delete;
    ShmBuffer& operator=(const ShmBuffer&) = delete;

    wl_buffer* Handle() const { return buffer_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // Made for this size and lead: the transparent lead of a buffer stays where it was made.
    bool Fits(int width, int height, POINT lead) const {
        return width_ == width && height_ == height && lead_.x == lead.x && lead_.y == lead.y;
    }
    bool HasAlpha() const { return lead_.x != 0 || lead_.y != 0; }
    Pixel* Row(int y) { return pixels_ + static_cast<std::ptrdiff_t>(y) * width_; }

    // Committed and not yet released by the compositor: it may be reading it.
    bool busy = false;
    // The part of the picture this buffer has missed; a new buffer has missed all of it.
    RECT behind;

  private:
    ShmBuffer(wl_buffer* buffer, Pixel* pixels, std::size_t size, int width, int height, POINT lead)
        : behind{0, 0, width, height},
          buffer_(buffer),
          pixels_(pixels),
          size_(size),
          width_(width),
          height_(height),
          lead_(lead) {
        wl_buffer_add_listener(buffer_, &kListener, this);
    }

    static void OnRelease(void* data, wl_buffer* /*buffer*/) {
        static_cast<ShmBuffer*>(data)->busy = false;
    }
    static constexpr wl_buffer_listener kListener{OnRelease};

    wl_buffer* buffer_;
    Pixel* pixels_;
    std::size_t size_;
    int width_;
    int height_;
    POINT lead_;
};

std::unique_ptr<WaylandShmPresenter> WaylandShmPresenter::Create(wl_display* display,
                                                                 wl_surface* surface) {
    if (display == nullptr || surface == nullptr) return nullptr;
    wl_event_queue* queue = wl_display_create_queue(display);
    if (queue == nullptr) return nullptr;
    // The registry is made through a wrapper so that its first events already go to our queue.
    auto* wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    if (wrapper == nullptr) {
        wl_event_queue_destroy(queue);
        return nullptr;
    }
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    wl_registry* registry = wl_display_get_registry(wrapper);
    wl_proxy_wrapper_destroy(wrapper);
    wl_shm* shm = nullptr;
    wl_registry_add_listener(registry, &kRegistryListener, &shm);
    const int answered = wl_display_roundtrip_queue(display, queue);
    wl_registry_destroy(registry);
    if (answered < 0 || shm == nullptr) {
        if (shm != nullptr) wl_shm_destroy(shm);
        wl_event_queue_destroy(queue);
        return nullptr;
    }
    return std::unique_ptr<WaylandShmPresenter>(new WaylandShmPresenter(
        display, surface, queue, shm, /*ownsShm=*/true, /*paceByFrames=*/false));
}

std::unique_ptr<WaylandShmPresenter> WaylandShmPresenter::Create(wl_display* display,
                                                                 wl_surface* surface, wl_shm* shm,
                                                                 bool paceByFrames) {
    if (display == nullptr || surface == nullptr || shm == nullptr) return nullptr;
    wl_event_queue* queue = wl_display_create_queue(display);
    if (queue == nullptr) return nullptr;
    // Pools and buffers made through the wrapper, and their releases, belong to our queue.
    auto* wrapper = static_cast<wl_shm*>(wl_proxy_create_wrapper(shm));
    if (wrapper == nullptr) {
        wl_event_queue_destroy(queue);
        return nullptr;
    }
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(wrapper), queue);
    return std::unique_ptr<WaylandShmPresenter>(
        new WaylandShmPresenter(display, surface, queue, wrapper, /*ownsShm=*/false, paceByFrames));
}

WaylandShmPresenter::WaylandShmPresenter(wl_display* display, wl_surface* surface,
                                         wl_event_queue* queue, wl_shm* shm, bool ownsShm,
                                         bool paceByFrames)
    : display_(display), surface_(surface), queue_(queue), shm_(shm), ownsShm_(ownsShm) {
    if (paceByFrames) {
        frameSurface_ = static_cast<wl_surface*>(wl_proxy_create_wrapper(surface));
        if (frameSurface_ != nullptr) {
            wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(frameSurface_), queue);
        }
    }
}

WaylandShmPresenter::~WaylandShmPresenter() {
    buffers_.clear();
    if (frame_ != nullptr) wl_callback_destroy(frame_);
    if (frameSurface_ != nullptr) wl_proxy_wrapper_destroy(frameSurface_);
    if (ownsShm_) {
        wl_shm_destroy(shm_);
    } else {
        wl_proxy_wrapper_destroy(shm_);
    }
    wl_display_flush(display_);
    wl_event_queue_destroy(queue_);
}

void WaylandShmPresenter::OnFrameDone(void* data, wl_callback* callback, std::uint32_t /*time*/) {
    auto* presenter = static_cast<WaylandShmPresenter*>(data);
    wl_callback_destroy(callback);
    if (presenter->frame_ == callback) presenter->frame_ = nullptr;
}

bool WaylandShmPresenter::DispatchPending() {
    return wl_display_dispatch_queue_pending(display_, queue_) >= 0;
}

bool WaylandShmPresenter::Present(const Surface& picture, const RECT& dirty, int width, int height,
                                  RECT* copied, POINT lead) {
    if (copied != nullptr) *copied = RECT{};
    if (wl_display_get_error(display_) != 0) return false;
    // Releases that arrived while SDL read the connection.
    if (wl_display_dispatch_queue_pending(display_, queue_) < 0) return false;

    lead.x = std::clamp<LONG>(lead.x, 0, width);
    lead.y = std::clamp<LONG>(lead.y, 0, height);
    const RECT drawable{0, 0, std::min<LONG>(width - lead.x, picture.Width()),
                        std::min<LONG>(height - lead.y, picture.Height())};
    RECT changed{};
    if (!IntersectRect(&changed, &dirty, &drawable)) return true;
    ShmBuffer* target = FreeBuffer(width, height, lead);
    if (target == nullptr) return false;
    RECT wanted{};
    UnionRect(&wanted, &target->behind, &changed);
    RECT area{};
    IntersectRect(&area, &wanted, &drawable);

    const auto rowBytes = static_cast<std::size_t>(area.right - area.left) * sizeof(Pixel);
    for (int y = area.top; y < area.bottom; ++y) {
        Pixel* row = target->Row(y + lead.y) + lead.x;
        if (target->HasAlpha()) {
            // Our pictures are opaque: only the lead stays transparent.
            std::transform(picture.Row(y) + area.left, picture.Row(y) + area.right, row + area.left,
                           [](Pixel pixel) { return pixel | 0xFF000000U; });
        } else {
            std::memcpy(row + area.left, picture.Row(y) + area.left, rowBytes);
        }
    }
    for (const auto& buffer : buffers_) {
        if (buffer.get() != target) UnionRect(&buffer->behind, &buffer->behind, &changed);
    }
    target->behind = RECT{};

    wl_surface_attach(surface_, target->Handle(), 0, 0);
    // The surface changed only where the picture did, whatever this buffer had to catch up on;
    // a surface of a new size changed all over.
    RECT damage = changed;
    OffsetRect(&damage, lead.x, lead.y);
    if (width != shownWidth_ || height != shownHeight_) damage = RECT{0, 0, width, height};
    shownWidth_ = width;
    shownHeight_ = height;
    const int damageWidth = damage.right - damage.left;
    const int damageHeight = damage.bottom - damage.top;
    if (wl_proxy_get_version(reinterpret_cast<wl_proxy*>(surface_)) >=
        WL_SURFACE_DAMAGE_BUFFER_SINCE_VERSION) {
        wl_surface_damage_buffer(surface_, damage.left, damage.top, damageWidth, damageHeight);
    } else {
        wl_surface_damage(surface_, damage.left, damage.top, damageWidth, damageHeight);
    }
    if (frameSurface_ != nullptr && frame_ == nullptr) {
        static constexpr wl_callback_listener kFrameListener{OnFrameDone};
        frame_ = wl_surface_frame(frameSurface_);
        wl_callback_add_listener(frame_, &kFrameListener, this);
    }
    wl_surface_commit(surface_);
    target->busy = true;
    wl_display_flush(display_);
    if (copied != nullptr) *copied = area;
    return true;
}

ShmBuffer* WaylandShmPresenter::FreeBuffer(int width, int height, POINT lead) {
    for (;;) {
        // A released buffer of another size or lead is of no more use.
        std::erase_if(buffers_, [&](const std::unique_ptr<ShmBuffer>& buffer) {
            return !buffer->busy && !buffer->Fits(width, height, lead);
        });
        const auto free = std::find_if(buffers_.begin(), buffers_.end(),
                                       [](const auto& buffer) { return !buffer->busy; });
        if (free != buffers_.end()) return free->get();
        if (buffers_.size() < kMaxBuffers) {
            std::unique_ptr<ShmBuffer> made = ShmBuffer::Create(shm_, width, height, lead);
            if (!made) return nullptr;
            buffers_.push_back(std::move(made));
            return buffers_.back().get();
        }
        if (!WaitForRelease()) return nullptr;
    }
}

bool WaylandShmPresenter::WaitForRelease() {
    const auto deadline = std::chrono::steady_clock::now() + kReleaseWait;
    const auto anyFree = [this] {
        return std::any_of(buffers_.begin(), buffers_.end(),
                           [](const auto& buffer) { return !buffer->busy; });
    };
    while (!anyFree()) {
        // The usual reading protocol of a connection shared with SDL: events for SDL's queue are
        // queued for it, ours are handled here.
        if (wl_display_prepare_read_queue(display_, queue_) != 0) {
            if (wl_display_dispatch_queue_pending(display_, queue_) < 0) return false;
            continue;
        }
        wl_display_flush(display_);
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd readable{wl_display_get_fd(display_), POLLIN, 0};
        if (left.count() <= 0 || ::poll(&readable, 1, static_cast<int>(left.count())) <= 0) {
            wl_display_cancel_read(display_);
            return anyFree();
        }
        if (wl_display_read_events(display_) != 0) return false;
        if (wl_display_dispatch_queue_pending(display_, queue_) < 0) return false;
    }
    return true;
}

}  // namespace platform

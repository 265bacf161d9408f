// xdg_surface, xdg_toplevel and zwlr_layer_surface_v1 listeners, and the frames of one window.
// Windows keep physical pixels; the surface counts in the compositor's coordinates, which are
// physical pixels divided by the buffer scale.
#include "platform/backends/wayland/wayland_window.h"

#include "platform/backends/shared/first_frame_record.h"
#include "platform/backends/wayland/wayland_globals.h"
#include "platform/base/rect.h"
#include "platform/base/text_encoding.h"
#include "platform/windows/input.h"
#include "platform/windows/messages.h"
#include "platform/windows/styles.h"
#include "platform/windows/window_api.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

WaylandWindow& WindowOf(void* data) { return *static_cast<WaylandWindow*>(data); }

void OnLayerConfigure(void* data, zwlr_layer_surface_v1* /*surface*/, std::uint32_t serial,
                      std::uint32_t width, std::uint32_t height) {
    WindowOf(data).LayerConfigured(serial, width, height);
}

void OnLayerClosed(void* data, zwlr_layer_surface_v1* /*surface*/) { WindowOf(data).Closed(); }

constexpr zwlr_layer_surface_v1_listener kLayerListener{OnLayerConfigure, OnLayerClosed};

void OnSurfaceConfigure(void* data, xdg_surface* /*surface*/, std::uint32_t serial) {
    WindowOf(data).SurfaceConfigured(serial);
}

constexpr xdg_surface_listener kXdgSurfaceListener{OnSurfaceConfigure};

void OnToplevelConfigure(void* data, xdg_toplevel* /*toplevel*/, std::int32_t width,
                         std::int32_t height, wl_array* /*states*/) {
    WindowOf(data).ToplevelConfigured(width, height);
}

void OnToplevelClose(void* data, xdg_toplevel* /*toplevel*/) { WindowOf(data).Closed(); }

// Bounds and capabilities (versions 4 and 5) never come: xdg_wm_base is bound at 3 at most.
constexpr xdg_toplevel_listener kToplevelListener{OnToplevelConfigure, OnToplevelClose, nullptr,
                                                  nullptr};

// A window without a caption and without an owner is the launcher's kind: a pop-up over
// everything at a place of its own. Its message boxes go on the same layer.
bool WantsLayer(const WindowRecord& record, const WaylandWindow* owner) {
    if (owner != nullptr) return owner->GetRole() == WaylandWindow::Role::Layer;
    return (record.style & WS_POPUP) != 0 && (record.style & WS_CAPTION) != WS_CAPTION;
}

// Physical pixels to surface coordinates: lengths round up so that the whole picture fits,
// positions round down.
std::int32_t LengthInSurface(int pixels, int scale) { return (pixels + scale - 1) / scale; }
std::int32_t PositionInSurface(int pixels, int scale) {
    return pixels >= 0 ? pixels / scale : -((scale - 1 - pixels) / scale);
}

}  // namespace

WaylandWindow::WaylandWindow(wl_display* display, HWND hwnd, int scale)
    : display_(display), hwnd_(hwnd), scale_(scale) {}

WaylandWindow::~WaylandWindow() = default;

std::unique_ptr<WaylandWindow> WaylandWindow::Create(wl_display* display, WaylandGlobals& globals,
                                                     const WindowRecord& record,
                                                     const WaylandWindow* owner,
                                                     const std::string& appId) {
    const int scale = globals.Outputs().PrimaryScale();
    std::unique_ptr<WaylandWindow> window(new WaylandWindow(display, record.handle, scale));
    window->surface_.reset(wl_compositor_create_surface(globals.Compositor()));
    if (!window->surface_) return nullptr;
    wl_surface* surface = window->surface_.get();
    if (VersionOf(surface) >= WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION) {
        wl_surface_set_buffer_scale(surface, scale);
    }
    window->presenter_ =
        WaylandShmPresenter::Create(display, surface, globals.Shm(), /*paceByFrames=*/true);
    if (!window->presenter_) return nullptr;

    if (globals.LayerShell() != nullptr && WantsLayer(record, owner)) {
        window->role_ = Role::Layer;
        window->layerSurface_.reset(zwlr_layer_shell_v1_get_layer_surface(
            globals.LayerShell(), surface, globals.Outputs().Primary(),
            ZWLR_LAYER_SHELL_V1_LAYER_OVERLAY, appId.c_str()));
        zwlr_layer_surface_v1* layer = window->layerSurface_.get();
        zwlr_layer_surface_v1_add_listener(layer, &kLayerListener, window.get());
        zwlr_layer_surface_v1_set_anchor(
            layer, ZWLR_LAYER_SURFACE_V1_ANCHOR_TOP | ZWLR_LAYER_SURFACE_V1_ANCHOR_LEFT);
        // Zero: panels and on-screen keyboards keep their room.
        zwlr_layer_surface_v1_set_exclusive_zone(layer, 0);
        zwlr_layer_surface_v1_set_keyboard_interactivity(
            layer, ZWLR_LAYER_SURFACE_V1_KEYBOARD_INTERACTIVITY_EXCLUSIVE);
        window->PlaceLayer(record.rect);
    } else {
        window->role_ = Role::Toplevel;
        window->origin_ = POINT{record.rect.left, record.rect.top};
        window->xdgSurface_.reset(xdg_wm_base_get_xdg_surface(globals.WmBase(), surface));
        xdg_surface_add_listener(window->xdgSurface_.get(), &kXdgSurfaceListener, window.get());
        window->toplevel_.reset(xdg_surface_get_toplevel(window->xdgSurface_.get()));
        xdg_toplevel* toplevel = window->toplevel_.get();
        xdg_toplevel_add_listener(toplevel, &kToplevelListener, window.get());
        xdg_toplevel_set_app_id(toplevel, appId.c_str());
        xdg_toplevel_set_title(toplevel, Utf8FromWide(record.text).c_str());
        if (owner != nullptr && owner->toplevel_) {
            xdg_toplevel_set_parent(toplevel, owner->toplevel_.get());
            // A box keeps its size: tiling compositors float windows that cannot be resized.
            const std::int32_t width = LengthInSurface(record.rect.right - record.rect.left, scale);
            const std::int32_t height =
                LengthInSurface(record.rect.bottom - record.rect.top, scale);
            xdg_toplevel_set_min_size(toplevel, width, height);
            xdg_toplevel_set_max_size(toplevel, width, height);
        }
    }
    // The first commit carries no buffer: the compositor answers it with a configure.
    wl_surface_commit(surface);
    wl_display_flush(display);
    return window;
}

// A layer surface lies at whole surface units: at a scale above 1 the picture starts a pixel or
// so into the buffer (the lead, transparent), so that it shows exactly at the window's place.
void WaylandWindow::PlaceLayer(const RECT& rect) {
    if (!layerSurface_ || EqualRect(&rect, &placed_)) return;
    placed_ = rect;
    const std::int32_t left = PositionInSurface(rect.left, scale_);
    const std::int32_t top = PositionInSurface(rect.top, scale_);
    origin_ = POINT{left * scale_, top * scale_};
    lead_ = POINT{rect.left - origin_.x, rect.top - origin_.y};
    zwlr_layer_surface_v1_set_size(
        layerSurface_.get(),
        static_cast<std::uint32_t>(LengthInSurface(rect.right - origin_.x, scale_)),
        static_cast<std::uint32_t>(LengthInSurface(rect.bottom - origin_.y, scale_)));
    zwlr_layer_surface_v1_set_margin(layerSurface_.get(), top, 0, 0, left);
    waitingWhole_ = true;
}

void WaylandWindow::Sync(const WindowRecord& record) {
    if (role_ == Role::Layer) {
        PlaceLayer(record.rect);
    } else if (toplevel_) {
        origin_ = POINT{record.rect.left, record.rect.top};
        xdg_toplevel_set_title(toplevel_.get(), Utf8FromWide(record.text).c_str());
    }
}

void WaylandWindow::SetScale(int scale) {
    if (scale == scale_ || scale < 1) return;
    scale_ = scale;
    if (VersionOf(surface_.get()) >= WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION) {
        wl_surface_set_buffer_scale(surface_.get(), scale);
    }
    if (const WindowRecord* record = FindWindowRecord(hwnd_)) {
        placed_ = RECT{};
        PlaceLayer(record->rect);
    }
    waitingWhole_ = true;
}

SIZE WaylandWindow::BufferSize(const Surface& picture) const {
    return SIZE{LengthInSurface(lead_.x + picture.Width(), scale_) * scale_,
                LengthInSurface(lead_.y + picture.Height(), scale_) * scale_};
}

void WaylandWindow::Present(const Surface& picture, const RECT& dirty) {
    UnionRect(&waiting_, &waiting_, &dirty);
    PresentWaiting(picture);
}

void WaylandWindow::PresentWaiting(const Surface& picture) {
    if (!configured_ || !presenter_ || presenter_->FramePending()) return;
    if (!waitingWhole_ && IsRectEmpty(&waiting_)) return;
    const RECT area = waitingWhole_ ? picture.Bounds() : waiting_;
    const SIZE buffer = BufferSize(picture);
    RECT copied{};
    if (!presenter_->Present(picture, area, buffer.cx, buffer.cy, &copied, lead_)) {
        // The frame was lost (no buffer came free, no memory): the whole picture goes next.
        waitingWhole_ = true;
        return;
    }
    waiting_ = RECT{};
    waitingWhole_ = false;
    if (!IsRectEmpty(&copied)) RecordFirstFrame();
}

void WaylandWindow::SizeGiven(std::int32_t width, std::int32_t height) {
    const WindowRecord* record = FindWindowRecord(hwnd_);
    if (record == nullptr || width <= 0 || height <= 0) return;
    const int ownWidth = record->rect.right - record->rect.left;
    const int ownHeight = record->rect.bottom - record->rect.top;
    // The size we asked for comes back rounded to surface coordinates: that is no new size.
    if (width == LengthInSurface(lead_.x + ownWidth, scale_) &&
        height == LengthInSurface(lead_.y + ownHeight, scale_)) {
        return;
    }
    input::WindowResized(hwnd_, SIZE{width * scale_ - lead_.x, height * scale_ - lead_.y});
}

void WaylandWindow::LayerConfigured(std::uint32_t serial, std::uint32_t width,
                                    std::uint32_t height) {
    zwlr_layer_surface_v1_ack_configure(layerSurface_.get(), serial);
    configured_ = true;
    waitingWhole_ = true;
    SizeGiven(static_cast<std::int32_t>(width), static_cast<std::int32_t>(height));
}

void WaylandWindow::ToplevelConfigured(std::int32_t width, std::int32_t height) {
    pendingWidth_ = width;
    pendingHeight_ = height;
}

void WaylandWindow::SurfaceConfigured(std::uint32_t serial) {
    xdg_surface_ack_configure(xdgSurface_.get(), serial);
    configured_ = true;
    waitingWhole_ = true;
    SizeGiven(pendingWidth_, pendingHeight_);
}

void WaylandWindow::Closed() { PostMessage(hwnd_, WM_CLOSE, 0, 0); }

}  // namespace platform

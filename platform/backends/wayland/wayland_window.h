// One shown top-level window on a wl_surface: its role (a layer surface placed at the window's
// rectangle where the compositor offers layer-shell, else an xdg_toplevel), the configure
// handshake, the buffer scale, and frames paced by the compositor's frame callbacks.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <memory>
#include <string>

#include "platform/backends/wayland/wayland_proxy.h"
#include "platform/backends/wayland/wayland_shm_presenter.h"
#include "platform/base/win_types.h"
#include "wlr-layer-shell-unstable-v1-client-protocol.h"
#include "xdg-shell-client-protocol.h"

namespace platform {

class WaylandGlobals;
struct WindowRecord;

class WaylandWindow {
  public:
    enum class Role { Layer, Toplevel };

    // Makes the surface and its role for a window about to be shown; its first frame goes out
    // once the compositor has configured it. `owner` is the window it belongs to, if shown.
    static std::unique_ptr<WaylandWindow> Create(wl_display* display, WaylandGlobals& globals,
                                                 const WindowRecord& record,
                                                 const WaylandWindow* owner,
                                                 const std::string& appId);
    ~WaylandWindow();
    WaylandWindow(const WaylandWindow&) = delete;
    WaylandWindow& operator=(const WaylandWindow&) = delete;

    // Follows the record: title, and for a layer surface its place and size.
    void Sync(const WindowRecord& record);
    // Shows `dirty` of the window's picture now, or as soon as the compositor can show a frame.
    void Present(const Surface& picture, const RECT& dirty);
    // Sends what waited for a configure or a frame callback; called after events were handled.
    void PresentWaiting(const Surface& picture);
    // The buffer scale changed (the output's scale): the next frame is drawn whole at it.
    void SetScale(int scale);

    HWND Handle() const { return hwnd_; }
    Role GetRole() const { return role_; }
    wl_surface* WlSurface() const { return surface_.get(); }
    int Scale() const { return scale_; }
    // Where the surface's top-left corner lies on the window system's screen (physical pixels).
    POINT SurfaceOrigin() const { return origin_; }
    bool Configured() const { return configured_; }
    bool DispatchPending() { return presenter_ == nullptr || presenter_->DispatchPending(); }

    // Role events (public for the listener tables).
    void LayerConfigured(std::uint32_t serial, std::uint32_t width, std::uint32_t height);
    void ToplevelConfigured(std::int32_t width, std::int32_t height);
    void SurfaceConfigured(std::uint32_t serial);
    void Closed();

  private:
    WaylandWindow(wl_display* display, HWND hwnd, int scale);
    void PlaceLayer(const RECT& rect);
    // The compositor gave the window a size (surface coordinates); 0 leaves it to us.
    void SizeGiven(std::int32_t width, std::int32_t height);
    // The buffer's size: the window's, rounded up to whole surface coordinates.
    SIZE BufferSize(const Surface& picture) const;

    wl_display* display_;
    HWND hwnd_;
    Role role_ = Role::Toplevel;
    int scale_ = 1;
    bool configured_ = false;
    // Changed since the last frame and not shown yet; `waitingWhole` after a new size or scale.
    RECT waiting_{};
    bool waitingWhole_ = true;
    std::int32_t pendingWidth_ = 0;
    std::int32_t pendingHeight_ = 0;
    RECT placed_{};
    POINT origin_{};
    POINT lead_{};  // where the picture starts in the buffer

    OwnedProxy<wl_surface> surface_;
    OwnedProxy<zwlr_layer_surface_v1> layerSurface_;
    OwnedProxy<xdg_surface> xdgSurface_;
    OwnedProxy<xdg_toplevel> toplevel_;
    std::unique_ptr<WaylandShmPresenter> presenter_;
};

}  // namespace platform

// The native Wayland backend: one connection to the compositor, a surface per shown top-level
// window (placed by layer-shell where offered), the seat as stylus and keyboard, the clipboard
// and startup tokens for the programs the launcher starts.
#pragma once

#include <wayland-client.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/windows/backend.h"

namespace platform {

class WaylandGlobals;
class WaylandSeat;
class WaylandClipboard;
class WaylandWindow;

class WaylandBackend final : public Backend {
  public:
    // Takes over a connection, closing it at the end (or at once, on failure) when
    // `ownsDisplay`. nullptr, with the
    // reason in *error, when the compositor cannot show our windows (no shm, no shell, no
    // output).
    static std::unique_ptr<WaylandBackend> Create(wl_display* display, bool ownsDisplay,
                                                  std::string* error);
    ~WaylandBackend() override;
    WaylandBackend(const WaylandBackend&) = delete;
    WaylandBackend& operator=(const WaylandBackend&) = delete;

    std::uint32_t TickCount() override;
    void TopLevelChanged(HWND window) override;
    void TopLevelDestroyed(HWND window) override;
    void Present(HWND window, const RECT& dirty) override;
    void RequestForeground(HWND window) override;
    bool WaitForEvents(int timeoutMs) override;
    void SetClipboardText(const std::wstring& text) override;
    std::wstring ClipboardText() override;
    std::vector<std::string> StartupEnvironment() override;

    // The surface showing a top-level window; nullptr while it shows none (tests).
    WaylandWindow* WindowOf(HWND window) const;

  private:
    explicit WaylandBackend(wl_display* display, bool ownsDisplay);
    WaylandWindow* WindowOnSurface(wl_surface* surface) const;
    void OutputsChanged();
    // Handles what is queued, for the default queue and every window's own.
    bool DispatchQueued();
    void PresentWaiting();

    wl_display* display_;
    bool ownsDisplay_;
    std::unique_ptr<WaylandGlobals> globals_;
    std::unique_ptr<WaylandSeat> seat_;
    std::unique_ptr<WaylandClipboard> clipboard_;
    std::map<HWND, std::unique_ptr<WaylandWindow>> windows_;
    std::string appId_;
};

// Connects to the compositor that WAYLAND_DISPLAY or WAYLAND_SOCKET names and makes the backend
// the one in use. False, with the reason in *error, when there is none or it cannot show our
// windows; the backend in use stays as it was.
bool InstallWaylandBackend(std::string* error);

}  // namespace platform

// The native X11 backend: one xcb connection, an X window per shown top-level window, the mouse
// and touch as the stylus, the keyboard through XKB, the CLIPBOARD selection, and the screen:
// the monitor under the pointer at start, its size and the server's density.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/backends/x11/x11_monitor.h"
#include "platform/windows/backend.h"

namespace platform {

class X11Connection;
class X11Window;
class X11Keyboard;
class X11Clipboard;
class X11Touch;
class X11Cursor;
class X11Monitors;

class X11Backend final : public Backend {
  public:
    // nullptr, with the reason in *error, when the server cannot show our windows.
    static std::unique_ptr<X11Backend> Create(std::unique_ptr<X11Connection> connection,
                                              std::string* error);
    ~X11Backend() override;
    X11Backend(const X11Backend&) = delete;
    X11Backend& operator=(const X11Backend&) = delete;

    std::uint32_t TickCount() override;
    void TopLevelChanged(HWND window) override;
    void TopLevelDestroyed(HWND window) override;
    void Present(HWND window, const RECT& dirty) override;
    void RequestForeground(HWND window) override;
    bool WaitForEvents(int timeoutMs) override;
    void SetClipboardText(const std::wstring& text) override;
    std::wstring ClipboardText() override;
    std::vector<std::string> StartupEnvironment() override;

    // The X window showing a top-level window; 0 while it shows none.
    xcb_window_t WindowIdOf(HWND window) const;

  private:
    explicit X11Backend(std::unique_ptr<X11Connection> connection);
    X11Window* WindowOf(HWND window) const;
    X11Window* WindowWithId(xcb_window_t id) const;
    // Handles every event read so far; false once the connection is gone.
    bool DispatchQueued();
    void Handle(const xcb_generic_event_t& event);
    void HandleFocus(const xcb_focus_in_event_t& event, bool in);
    void HandleConfigure(const xcb_configure_notify_event_t& event);
    void HandleDestroy(xcb_window_t id);
    void HandleClientMessage(const xcb_client_message_event_t& event);
    // The server's monitors changed: ours moved, resized or gone.
    void MonitorsChanged();
    // The monitor's corner on the root window; a point of the root on the monitor.
    POINT Origin() const;
    POINT ScreenPoint(int rootX, int rootY) const;
    void PresentWhole(X11Window& window);
    // The first picture is out: the theme's pointer goes onto our windows.
    void ShowCursorAfterFirstPicture();

    std::unique_ptr<X11Connection> connection_;
    std::unique_ptr<X11Keyboard> keyboard_;
    std::unique_ptr<X11Clipboard> clipboard_;
    std::unique_ptr<X11Touch> touch_;
    std::unique_ptr<X11Cursor> cursor_;
    std::unique_ptr<X11Monitors> monitors_;
    X11Monitor monitor_;  // the one that is the programs' screen
    bool pictureShown_ = false;
    std::map<HWND, std::unique_ptr<X11Window>> windows_;
    std::string programName_;
    bool windowManagerRuns_ = false;
    bool errorReported_ = false;
    std::uint32_t lastInputTime_ = 0;  // the server's time of the last press, for startup ids
};

// Connects to the X server that DISPLAY names and makes the backend the one in use. False, with
// the reason in *error, when there is none or it cannot show our windows.
bool InstallX11Backend(std::string* error);

}  // namespace platform

// The real-screen backend: SDL2 shows the top-level windows and feeds mouse, touch, keys, focus
// and display changes to the window system. One backend for X11, Wayland and framebuffers.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/windows/backend.h"

union SDL_Event;

namespace platform {

class SdlSession;
class SdlWindowTable;
class SdlDisplayWatcher;
class SdlEventTranslator;

class SdlBackend final : public Backend {
  public:
    // Takes over an open SDL session; the display must already be set from it.
    explicit SdlBackend(std::unique_ptr<SdlSession> session);
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    std::uint32_t TickCount() override;
    void TopLevelChanged(HWND window) override;
    void TopLevelDestroyed(HWND window) override;
    void Present(HWND window, const RECT& dirty) override;
    void RequestForeground(HWND window) override;
    bool WaitForEvents(int timeoutMs) override;
    void SetClipboardText(const std::wstring& text) override;
    std::wstring ClipboardText() override;

    // The SDL window id showing a top-level window; 0 while it has none (never shown yet).
    std::uint32_t SdlWindowId(HWND window) const;

  private:
    void PresentWhereRequested();
    // Waits up to timeoutMs (forever when negative) for the next SDL event.
    bool WaitForSdlEvent(int timeoutMs, SDL_Event* event);

    // Declared first so that SDL is shut down after every window is gone.
    std::unique_ptr<SdlSession> session_;
    std::unique_ptr<SdlWindowTable> windows_;
    std::unique_ptr<SdlDisplayWatcher> display_;
    std::unique_ptr<SdlEventTranslator> events_;
    // The X11 window through which SDL owns the clipboard since our last copy; 0: none.
    unsigned long sdlClipboardOwner_ = 0;
};

// Opens the display and makes SDL the backend in use. Without a display it returns false, puts
// the reason in *error (when given) and leaves the backend in use as it was.
bool InstallSdlBackend(std::string* error);

}  // namespace platform

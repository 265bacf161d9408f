// The SDL backend: windows, presenting, waiting for events, message boxes, and installing it.
#include "platform/backends/sdl/sdl_backend.h"

#include <SDL.h>
#include <SDL_syswm.h>
#include <poll.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/backends/sdl/sdl_display.h"
#include "platform/backends/sdl/sdl_event_translator.h"
#include "platform/backends/sdl/sdl_present.h"
#include "platform/backends/sdl/sdl_session.h"
#include "platform/backends/sdl/sdl_window_table.h"
#include "platform/backends/sdl/sdl_x11_windows.h"
#include "platform/backends/sdl/x11_clipboard.h"
#include "platform/backends/shared/clipboard_limits.h"
#include "platform/backends/shared/first_frame_record.h"
#include "platform/backends/wayland/wayland_shm_presenter.h"
#include "platform/base/rect.h"
#include "platform/base/text_encoding.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

// The file descriptor of SDL's X11 connection; -1 on other video drivers.
int X11Connection(SDL_Window* window) {
    if (window == nullptr) return -1;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return -1;
    }
    return ConnectionNumber(info.info.x11.display);
}

}  // namespace

SdlBackend::SdlBackend(std::unique_ptr<SdlSession> session)
    : session_(std::move(session)),
      windows_(std::make_unique<SdlWindowTable>()),
      display_(std::make_unique<SdlDisplayWatcher>()),
      events_(std::make_unique<SdlEventTranslator>(*windows_, *display_)) {
    SDL_StartTextInput();
}

SdlBackend::~SdlBackend() = default;

std::uint32_t SdlBackend::TickCount() { return static_cast<std::uint32_t>(SDL_GetTicks64()); }

void SdlBackend::TopLevelChanged(HWND window) {
    windows_->Sync(window);
    display_->WatchScreenOf(windows_->Find(window));
}

void SdlBackend::TopLevelDestroyed(HWND window) { windows_->Remove(window); }

void SdlBackend::Present(HWND window, const RECT& dirty) {
    const WindowRecord* record = FindWindowRecord(window);
    SDL_Window* sdlWindow = windows_->Find(window);
    if (record == nullptr || !record->surface || sdlWindow == nullptr) return;
    const bool shown = (SDL_GetWindowFlags(sdlWindow) & SDL_WINDOW_SHOWN) != 0;
    if (WaylandShmPresenter* wayland = windows_->WaylandPresenterOf(window)) {
        const RECT area =
            windows_->TakeFullPresent(window, wayland) ? record->surface->Bounds() : dirty;
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(sdlWindow, &width, &height);
        RECT copied{};
        if (!wayland->Present(*record->surface, area, width, height, &copied)) {
            // The frame was lost (the compositor kept every buffer): the whole picture goes out
            // on the next turn.
            windows_->RequestFullPresent(window);
        } else if (shown && !IsRectEmpty(&copied)) {
            RecordFirstFrame();
        }
        return;
    }
    SDL_Surface* target = SDL_GetWindowSurface(sdlWindow);
    if (target == nullptr) return;
    const RECT area = windows_->TakeFullPresent(window, target) ? record->surface->Bounds() : dirty;
    RECT copied{};
    if (!CopyToSdlSurface(*record->surface, area, target, &copied)) return;
    const SDL_Rect rectangle{copied.left, copied.top, copied.right - copied.left,
                             copied.bottom - copied.top};
    if (SDL_UpdateWindowSurfaceRects(sdlWindow, &rectangle, 1) == 0 && shown) RecordFirstFrame();
}

void SdlBackend::PresentWhereRequested() {
    for (HWND window : windows_->WindowsWaitingForFullPresent()) {
        if (const WindowRecord* record = FindWindowRecord(window); record && record->surface) {
            Present(window, record->surface->Bounds());
        }
    }
}

void SdlBackend::RequestForeground(HWND window) {
    const HWND topLevel = TopLevelOf(window);
    if (!IsShown(topLevel)) return;
    // A window whose SDL window another client destroyed gets a new one.
    if (windows_->Find(topLevel) == nullptr) windows_->Sync(topLevel);
    SDL_Window* sdlWindow = windows_->Find(topLevel);
    if (sdlWindow == nullptr) return;
    // The desktop may have minimised or hidden a window the program still shows.
    const Uint32 flags = SDL_GetWindowFlags(sdlWindow);
    if ((flags & SDL_WINDOW_MINIMIZED) != 0) SDL_RestoreWindow(sdlWindow);
    if ((flags & SDL_WINDOW_SHOWN) == 0) SDL_ShowWindow(sdlWindow);
    SDL_RaiseWindow(sdlWindow);
    // Raising only asks the window manager for the keyboard. Where there is none (a kiosk, a bare
    // X server), nobody hands the keyboard back to a window once a message box over it has gone,
    // and keys would reach no window: the program gives it the focus itself.
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver != nullptr && std::strcmp(driver, "x11") == 0) SDL_SetWindowInputFocus(sdlWindow);
}

// On X11 the wait is on the connection itself. SDL 2.26's own wait wakes itself by sending an
// event to one of its windows over a second connection; when the event that woke it closes that
// window at once (a key or a focus change ends the launcher), the X server may handle the late
// request after the window is gone, and Xlib's default error handler ends the program with
// status 1 after it did everything right.
bool SdlBackend::WaitForSdlEvent(int timeoutMs, SDL_Event* event) {
    if (SDL_PollEvent(event) != 0) return true;
    if (timeoutMs == 0) return false;
    const int connection = X11Connection(windows_->AnyWindow());
    if (connection < 0) {
        return (timeoutMs < 0 ? SDL_WaitEvent(event) : SDL_WaitEventTimeout(event, timeoutMs)) != 0;
    }
    const Uint64 deadline = SDL_GetTicks64() + static_cast<Uint64>(std::max(timeoutMs, 0));
    for (;;) {
        const Uint64 now = SDL_GetTicks64();
        if (timeoutMs >= 0 && now >= deadline) return false;
        pollfd readable{connection, POLLIN, 0};
        // Polling SDL drained everything Xlib had read: what comes next arrives on the socket.
        // A signal ends the wait too, and SDL turns it into an event.
        ::poll(&readable, 1, timeoutMs < 0 ? -1 : static_cast<int>(deadline - now));
        if (SDL_PollEvent(event) != 0) return true;
    }
}

bool SdlBackend::WaitForEvents(int timeoutMs) {
    SDL_Event event;
    const bool received = WaitForSdlEvent(timeoutMs, &event);
    // Waiting without limit only ends without an event when SDL's queue is gone for good.
    if (!received && timeoutMs < 0) return false;
    if (received) {
        events_->Translate(event);
        while (SDL_PollEvent(&event) != 0) events_->Translate(event);
    }
    display_->Check();
    PresentWhereRequested();
    return true;
}

void SdlBackend::SetClipboardText(const std::wstring& text) {
    SDL_SetClipboardText(Utf8FromWide(text).c_str());
    // On X11 SDL owns the selection through a window of its own, which only SDL can answer for.
    const std::optional<X11ClipboardSelection> x11 = ClipboardSelectionOf(windows_->AnyWindow());
    sdlClipboardOwner_ = x11 ? x11->clipboardOwner : 0;
}

std::wstring SdlBackend::ClipboardText() {
    // Another program's text on X11 is read by our own reader: SDL 2.26 loses large texts (sent
    // in chunks) and, when an owner is slow, empties the clipboard.
    if (const std::optional<X11ClipboardSelection> x11 =
            ClipboardSelectionOf(windows_->AnyWindow());
        x11 && x11->clipboardOwner != sdlClipboardOwner_) {
        if (x11->clipboardOwner == 0) return {};
        const std::optional<std::string> text =
            ReadX11ClipboardText(x11->displayName, kClipboardWait, kMaxClipboardBytes);
        return text ? WideFromUtf8(*text) : std::wstring();
    }
    // SDL hands out a copy that the caller frees; an empty string when there is no text.
    char* text = SDL_GetClipboardText();
    if (text == nullptr) return {};
    std::wstring wide = WideFromUtf8(text);
    SDL_free(text);
    return wide;
}

std::uint32_t SdlBackend::SdlWindowId(HWND window) const {
    SDL_Window* sdlWindow = windows_->Find(window);
    return sdlWindow != nullptr ? SDL_GetWindowID(sdlWindow) : 0;
}

bool InstallSdlBackend(std::string* error) {
    std::unique_ptr<SdlSession> session = SdlSession::Open(error);
    if (!session) return false;
    const std::optional<DisplayInfo> display = QueryDesktopDisplay();
    if (!display) {
        if (error != nullptr) *error = std::string("cannot open a display: ") + SDL_GetError();
        return false;
    }
    SetCurrentDisplay(*display);
    KeepAliveOnX11Errors();
    InstallBackend(std::make_unique<SdlBackend>(std::move(session)));
    return true;
}

}  // namespace platform

// The Wayland backend: windows to surfaces, the wait on the connection, the clipboard, startup
// tokens, and installing it.
#include "platform/backends/wayland/wayland_backend.h"

#include <poll.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdlib>
#include <optional>

#include "platform/backends/shared/clipboard_limits.h"
#include "platform/backends/shared/monotonic_clock.h"
#include "platform/backends/shared/program_name.h"
#include "platform/backends/shared/session_end.h"
#include "platform/backends/wayland/wayland_activation.h"
#include "platform/backends/wayland/wayland_clipboard.h"
#include "platform/backends/wayland/wayland_globals.h"
#include "platform/backends/wayland/wayland_seat.h"
#include "platform/backends/wayland/wayland_window.h"
#include "platform/base/text_encoding.h"
#include "platform/windows/input.h"
#include "platform/windows/window_tree.h"

namespace platform {

WaylandBackend::WaylandBackend(wl_display* display, bool ownsDisplay)
    : display_(display), ownsDisplay_(ownsDisplay), appId_(ProgramName()) {}

std::unique_ptr<WaylandBackend> WaylandBackend::Create(wl_display* display, bool ownsDisplay,
                                                       std::string* error) {
    std::unique_ptr<WaylandBackend> backend(new WaylandBackend(display, ownsDisplay));
    WaylandBackend* self = backend.get();
    backend->globals_ = WaylandGlobals::Bind(
        display, [self] { self->OutputsChanged(); },
        [self](wl_seat* seat, const WaylandGlobals& globals) {
            self->seat_ = std::make_unique<WaylandSeat>(seat, globals, [self](wl_surface* surface) {
                return self->WindowOnSurface(surface);
            });
        },
        error);
    if (!backend->globals_) return nullptr;
    const std::optional<DisplayInfo> shown = backend->globals_->Outputs().Display();
    if (!shown) {
        if (error != nullptr) *error = "the Wayland compositor has no output";
        return nullptr;
    }
    SetCurrentDisplay(*shown);
    if (wl_data_device_manager* manager = backend->globals_->DataDeviceManager();
        manager != nullptr && backend->seat_) {
        backend->clipboard_ =
            std::make_unique<WaylandClipboard>(display, manager, backend->seat_->Seat());
    }
    wl_display_flush(display);
    return backend;
}

WaylandBackend::~WaylandBackend() {
    // Objects go before the globals they were made from, and everything before the connection.
    windows_.clear();
    clipboard_.reset();
    seat_.reset();
    globals_.reset();
    if (display_ != nullptr) {
        wl_display_flush(display_);
        if (ownsDisplay_) wl_display_disconnect(display_);
    }
}

std::uint32_t WaylandBackend::TickCount() { return MonotonicTickCount(); }

WaylandWindow* WaylandBackend::WindowOf(HWND window) const {
    const auto found = windows_.find(window);
    return found != windows_.end() ? found->second.get() : nullptr;
}

WaylandWindow* WaylandBackend::WindowOnSurface(wl_surface* surface) const {
    if (surface == nullptr) return nullptr;
    for (const auto& [hwnd, window] : windows_) {
        if (window->WlSurface() == surface) return window.get();
    }
    return nullptr;
}

void WaylandBackend::TopLevelChanged(HWND window) {
    const WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) {
        TopLevelDestroyed(window);
        return;
    }
    const auto found = windows_.find(window);
    if (!NeedsScreenWindow(window)) {
        // A hidden window has no surface: unmapping a layer surface means destroying it.
        if (found != windows_.end()) TopLevelDestroyed(window);
        return;
    }
    if (found != windows_.end()) {
        found->second->Sync(*record);
        return;
    }
    const WaylandWindow* owner =
        record->owner != nullptr ? WindowOf(TopLevelOf(record->owner)) : nullptr;
    if (auto created = WaylandWindow::Create(display_, *globals_, *record, owner, appId_)) {
        windows_.emplace(window, std::move(created));
    }
}

void WaylandBackend::TopLevelDestroyed(HWND window) {
    const auto found = windows_.find(window);
    if (found == windows_.end()) return;
    if (seat_) seat_->WindowGone(found->second->WlSurface());
    windows_.erase(found);
    wl_display_flush(display_);
}

void WaylandBackend::Present(HWND window, const RECT& dirty) {
    WaylandWindow* shown = WindowOf(window);
    const WindowRecord* record = FindWindowRecord(window);
    if (shown == nullptr || record == nullptr || !record->surface) return;
    shown->Present(*record->surface, dirty);
    wl_display_flush(display_);
}

// Wayland lets no client raise itself or take the keyboard: the compositor hands it to a new
// window, and back to the owner when a box over it goes.
void WaylandBackend::RequestForeground(HWND /*window*/) {}

void WaylandBackend::OutputsChanged() {
    if (!globals_) return;  // still binding: Create reads the first display itself
    const std::optional<DisplayInfo> shown = globals_->Outputs().Display();
    if (!shown) return;
    if (!shown->SameSize(CurrentDisplay())) {
        input::DisplayChanged(*shown);
    } else if (shown->dotsPerInch != CurrentDisplay().dotsPerInch) {
        SetCurrentDisplay(*shown);
    }
    const int scale = globals_->Outputs().PrimaryScale();
    for (const auto& [hwnd, window] : windows_) window->SetScale(scale);
}

bool WaylandBackend::DispatchQueued() {
    if (wl_display_dispatch_pending(display_) < 0) return false;
    for (const auto& [hwnd, window] : windows_) {
        if (!window->DispatchPending()) return false;
    }
    return true;
}

void WaylandBackend::PresentWaiting() {
    for (const auto& [hwnd, window] : windows_) {
        if (const WindowRecord* record = FindWindowRecord(hwnd); record && record->surface) {
            window->PresentWaiting(*record->surface);
        }
    }
}

bool WaylandBackend::WaitForEvents(int timeoutMs) {
    if (!DispatchQueued()) return false;
    if (seat_) seat_->ShowWaitingCursor();
    // A held key repeats on our clock: the wait ends when its next repeat is due.
    if (seat_) {
        if (const std::optional<int> repeat = seat_->MillisecondsToRepeat(TickCount())) {
            timeoutMs = timeoutMs < 0 ? *repeat : std::min(timeoutMs, *repeat);
        }
    }
    while (wl_display_prepare_read(display_) != 0) {
        if (wl_display_dispatch_pending(display_) < 0) return false;
    }
    std::array<pollfd, 2> ready{pollfd{wl_display_get_fd(display_), POLLIN, 0},
                                pollfd{SessionSignalDescriptor(), POLLIN, 0}};
    pollfd& connection = ready[0];
    // Requests that did not fit the socket go out as soon as it drains.
    if (wl_display_flush(display_) < 0 && errno == EAGAIN) connection.events |= POLLOUT;
    if (::poll(ready.data(), ready.size(), timeoutMs) > 0 &&
        (connection.revents & (POLLIN | POLLERR | POLLHUP)) != 0) {
        if (wl_display_read_events(display_) < 0) return false;
    } else {
        wl_display_cancel_read(display_);
    }
    EndSessionIfSignalled();
    if (!DispatchQueued()) return false;
    if (seat_) seat_->RepeatKeys(TickCount());
    PresentWaiting();
    wl_display_flush(display_);
    return wl_display_get_error(display_) == 0;
}

void WaylandBackend::SetClipboardText(const std::wstring& text) {
    if (!clipboard_ || !seat_) return;
    clipboard_->SetText(Utf8FromWide(text), seat_->LastInputSerial());
    wl_display_flush(display_);
}

std::wstring WaylandBackend::ClipboardText() {
    if (!clipboard_) return {};
    const std::optional<std::string> text = clipboard_->Text(kClipboardWait, kMaxClipboardBytes);
    return text ? WideFromUtf8(*text) : std::wstring();
}

std::vector<std::string> WaylandBackend::StartupEnvironment() {
    if (globals_->Activation() == nullptr) return {};
    const std::optional<std::string> token = RequestActivationToken(
        display_, globals_->Activation(), seat_ ? seat_->Seat() : nullptr,
        seat_ ? seat_->LastInputSerial() : 0, seat_ ? seat_->KeyboardSurface() : nullptr);
    if (!token) return {};
    // Toolkits that predate xdg-activation read the X11 startup-notification name.
    return {"XDG_ACTIVATION_TOKEN=" + *token, "DESKTOP_STARTUP_ID=" + *token};
}

bool InstallWaylandBackend(std::string* error) {
    const char* name = std::getenv("WAYLAND_DISPLAY");
    const char* socket = std::getenv("WAYLAND_SOCKET");
    if ((name == nullptr || *name == '\0') && (socket == nullptr || *socket == '\0')) {
        if (error != nullptr) *error = "no Wayland compositor (WAYLAND_DISPLAY is not set)";
        return false;
    }
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        if (error != nullptr) *error = "cannot connect to the Wayland compositor";
        return false;
    }
    // A backend that could not be made has closed the connection already.
    std::unique_ptr<WaylandBackend> backend = WaylandBackend::Create(display, true, error);
    if (!backend) return false;
    InstallBackend(std::move(backend));
    return true;
}

}  // namespace platform

// The X11 backend: windows to X windows, the wait on the connection and the events it brings,
// the clipboard, and installing it.
#include "platform/backends/x11/x11_backend.h"

#include <poll.h>
#include <unistd.h>
#include <xcb/randr.h>
#include <xcb/xinput.h>

#include <array>
#include <cstdio>
#include <cstdlib>

#include "platform/backends/shared/clipboard_limits.h"
#include "platform/backends/shared/first_frame_record.h"
#include "platform/backends/shared/monotonic_clock.h"
#include "platform/backends/shared/program_name.h"
#include "platform/backends/shared/session_end.h"
#include "platform/backends/x11/x11_clipboard.h"
#include "platform/backends/x11/x11_connection.h"
#include "platform/backends/x11/x11_cursor.h"
#include "platform/backends/x11/x11_keyboard.h"
#include "platform/backends/x11/x11_monitor.h"
#include "platform/backends/x11/x11_touch.h"
#include "platform/backends/x11/x11_window.h"
#include "platform/base/text_encoding.h"
#include "platform/windows/input.h"
#include "platform/windows/window_api.h"
#include "platform/windows/window_tree.h"

namespace platform {

X11Backend::X11Backend(std::unique_ptr<X11Connection> connection)
    : connection_(std::move(connection)), programName_(ProgramName()) {}

X11Backend::~X11Backend() {
    windows_.clear();
    monitors_.reset();
    cursor_.reset();
    clipboard_.reset();
    if (connection_) xcb_flush(connection_->Get());
}

std::unique_ptr<X11Backend> X11Backend::Create(std::unique_ptr<X11Connection> connection,
                                               std::string* /*error*/) {
    xcb_connection_t* x = connection->Get();
    xcb_prefetch_extension_data(x, &xcb_input_id);
    xcb_prefetch_extension_data(x, &xcb_randr_id);
    std::unique_ptr<X11Backend> backend(new X11Backend(std::move(connection)));
    const X11Connection& server = *backend->connection_;
    // The server tells of every change of its monitors' layout (a monitor turned, added,
    // removed or resized) with a configure event of the root window.
    const std::uint32_t rootEvents = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, server.Root(), XCB_CW_EVENT_MASK, &rootEvents);
    backend->keyboard_ = std::make_unique<X11Keyboard>(x);
    backend->clipboard_ = std::make_unique<X11Clipboard>(server);
    backend->touch_ = std::make_unique<X11Touch>(X11Touch::QueryOpcode(x).value_or(0));
    backend->cursor_ = std::make_unique<X11Cursor>(server);
    backend->windowManagerRuns_ = server.WindowManagerRuns();
    backend->monitors_ = std::make_unique<X11Monitors>(server);
    backend->monitor_ = backend->monitors_->UnderPointer();
    backend->touch_->SetOrigin(backend->Origin());
    SetCurrentDisplay(
        DisplayInfo{backend->monitor_.width, backend->monitor_.height, server.DotsPerInch()});
    xcb_flush(x);
    return backend;
}

std::uint32_t X11Backend::TickCount() { return MonotonicTickCount(); }

POINT X11Backend::Origin() const { return POINT{monitor_.x, monitor_.y}; }

POINT X11Backend::ScreenPoint(int rootX, int rootY) const {
    return POINT{rootX - monitor_.x, rootY - monitor_.y};
}

X11Window* X11Backend::WindowOf(HWND window) const {
    const auto found = windows_.find(window);
    return found != windows_.end() ? found->second.get() : nullptr;
}

X11Window* X11Backend::WindowWithId(xcb_window_t id) const {
    for (const auto& [hwnd, window] : windows_) {
        if (window->Id() == id) return window.get();
    }
    return nullptr;
}

xcb_window_t X11Backend::WindowIdOf(HWND window) const {
    const X11Window* shown = WindowOf(window);
    return shown != nullptr ? shown->Id() : 0;
}

void X11Backend::TopLevelChanged(HWND window) {
    const WindowRecord* record = FindWindowRecord(window);
    if (record == nullptr) {
        TopLevelDestroyed(window);
        return;
    }
    const auto found = windows_.find(window);
    if (!NeedsScreenWindow(window)) {
        if (found != windows_.end()) TopLevelDestroyed(window);
        return;
    }
    if (found != windows_.end()) {
        found->second->Sync(*record, Origin());
    } else {
        const X11Window* owner =
            record->owner != nullptr ? WindowOf(TopLevelOf(record->owner)) : nullptr;
        std::unique_ptr<X11Window> created =
            X11Window::Create(*connection_, *record, Origin(), owner != nullptr ? owner->Id() : 0,
                              programName_, windowManagerRuns_);
        touch_->SelectOn(connection_->Get(), created->Id());
        cursor_->ShowOn(created->Id());
        windows_.emplace(window, std::move(created));
    }
    xcb_flush(connection_->Get());
}

void X11Backend::TopLevelDestroyed(HWND window) {
    if (windows_.erase(window) > 0) xcb_flush(connection_->Get());
}

void X11Backend::Present(HWND window, const RECT& dirty) {
    X11Window* shown = WindowOf(window);
    const WindowRecord* record = FindWindowRecord(window);
    if (shown == nullptr || record == nullptr || !record->surface || !shown->Mapped()) return;
    shown->Present(*record->surface, dirty);
    xcb_flush(connection_->Get());
    RecordFirstFrame();
    pictureShown_ = true;
}

void X11Backend::ShowCursorAfterFirstPicture() {
    if (!pictureShown_ || cursor_->Tried()) return;
    cursor_->Load();
    for (const auto& [hwnd, window] : windows_) cursor_->ShowOn(window->Id());
}

void X11Backend::PresentWhole(X11Window& window) {
    if (const WindowRecord* record = FindWindowRecord(window.Handle()); record && record->surface) {
        window.Present(*record->surface, record->surface->Bounds());
        RecordFirstFrame();
        pictureShown_ = true;
    }
}

void X11Backend::RequestForeground(HWND window) {
    if (X11Window* shown = WindowOf(TopLevelOf(window))) {
        shown->TakeFocus(windowManagerRuns_);
        xcb_flush(connection_->Get());
    }
}

void X11Backend::HandleFocus(const xcb_focus_in_event_t& event, bool in) {
    // A window manager's grab (a key binding, a move) takes nothing from the window, and focus
    // moving between a window and the pointer inside it is no change.
    if (event.mode == XCB_NOTIFY_MODE_GRAB || event.mode == XCB_NOTIFY_MODE_UNGRAB ||
        event.detail == XCB_NOTIFY_DETAIL_INFERIOR || event.detail == XCB_NOTIFY_DETAIL_POINTER) {
        return;
    }
    X11Window* window = WindowWithId(event.event);
    if (window == nullptr) return;
    if (!in) keyboard_->FocusLost();
    input::ActivationChanged(window->Handle(), in);
}

void X11Backend::MonitorsChanged() {
    // Ours may be gone (unplugged): the screen is then the monitor under the pointer, and has
    // changed whatever its size.
    const std::optional<X11Monitor> still = monitors_->Named(monitor_.name);
    // Asked only when it is gone: value_or would ask the server every time.
    const X11Monitor now = still ? *still : monitors_->UnderPointer();
    if (still && now.SameArea(monitor_)) return;
    const bool changed = !still || now.width != monitor_.width || now.height != monitor_.height;
    monitor_ = now;
    touch_->SetOrigin(Origin());
    for (const auto& [hwnd, window] : windows_) {
        if (const WindowRecord* record = FindWindowRecord(hwnd)) window->Sync(*record, Origin());
    }
    if (changed) {
        input::DisplayChanged(
            DisplayInfo{monitor_.width, monitor_.height, CurrentDisplay().dotsPerInch});
    }
}

void X11Backend::HandleConfigure(const xcb_configure_notify_event_t& event) {
    if (event.window == connection_->Root()) {
        monitors_->RootResized(event.width, event.height);
        MonitorsChanged();
        return;
    }
    X11Window* window = WindowWithId(event.window);
    if (window == nullptr) return;
    const SIZE size{event.width, event.height};
    if (size.cx != window->Size().cx || size.cy != window->Size().cy) {
        window->SizeGiven(size);
        input::WindowResized(window->Handle(), size);
    }
}

void X11Backend::HandleDestroy(xcb_window_t id) {
    X11Window* window = WindowWithId(id);
    if (window == nullptr) return;
    // Another client destroyed it: it is gone from the table, and the window closes as if the
    // user had closed it; shown again, it gets a new X window.
    window->Destroyed();
    const HWND hwnd = window->Handle();
    windows_.erase(hwnd);
    PostMessage(hwnd, WM_CLOSE, 0, 0);
}

void X11Backend::HandleClientMessage(const xcb_client_message_event_t& event) {
    const X11Atoms& atoms = connection_->Atoms();
    X11Window* window = WindowWithId(event.window);
    if (window == nullptr || event.type != atoms.wmProtocols) return;
    const xcb_atom_t protocol = event.data.data32[0];
    if (protocol == atoms.wmDeleteWindow) {
        PostMessage(window->Handle(), WM_CLOSE, 0, 0);
    } else if (protocol == atoms.wmTakeFocus) {
        xcb_set_input_focus(connection_->Get(), XCB_INPUT_FOCUS_PARENT, window->Id(),
                            event.data.data32[1]);
    } else if (protocol == atoms.netWmPing) {
        // Answered by sending it back to the root window: the manager sees we are alive.
        xcb_client_message_event_t reply = event;
        reply.window = connection_->Root();
        xcb_send_event(connection_->Get(), 0, connection_->Root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&reply));
    }
}

void X11Backend::Handle(const xcb_generic_event_t& event) {
    if (clipboard_->HandleEvent(event) || keyboard_->HandleXkbEvent(event) ||
        touch_->Handle(event)) {
        return;
    }
    switch (event.response_type & 0x7F) {
        case 0:  // an error: a request about a window that went away, never the end of us
            if (!errorReported_) {
                const auto& error = reinterpret_cast<const xcb_generic_error_t&>(event);
                std::fprintf(stderr, "X error ignored: code %d (request %d)\n", error.error_code,
                             error.major_code);
                errorReported_ = true;
            }
            break;
        case XCB_MAP_NOTIFY:
            if (X11Window* window =
                    WindowWithId(reinterpret_cast<const xcb_map_notify_event_t&>(event).window)) {
                window->MapReported();
                PresentWhole(*window);
            }
            break;
        case XCB_EXPOSE: {
            // The last of a series says the window is whole again; until it is mapped it
            // shows nothing anyway.
            const auto& expose = reinterpret_cast<const xcb_expose_event_t&>(event);
            X11Window* window = WindowWithId(expose.window);
            // The picture sent when the window was reported mapped answers the Expose of the map
            // itself, which the server made before it.
            if (window != nullptr && expose.count == 0 && window->Mapped() &&
                !window->ExposeAnswered(expose.sequence)) {
                PresentWhole(*window);
            }
            break;
        }
        case XCB_CONFIGURE_NOTIFY:
            HandleConfigure(reinterpret_cast<const xcb_configure_notify_event_t&>(event));
            break;
        case XCB_DESTROY_NOTIFY:
            HandleDestroy(reinterpret_cast<const xcb_destroy_notify_event_t&>(event).window);
            break;
        case XCB_CLIENT_MESSAGE:
            HandleClientMessage(reinterpret_cast<const xcb_client_message_event_t&>(event));
            break;
        case XCB_FOCUS_IN:
        case XCB_FOCUS_OUT:
            HandleFocus(reinterpret_cast<const xcb_focus_in_event_t&>(event),
                        (event.response_type & 0x7F) == XCB_FOCUS_IN);
            break;
        case XCB_BUTTON_PRESS:
        case XCB_BUTTON_RELEASE: {
            const auto& button = reinterpret_cast<const xcb_button_press_event_t&>(event);
            if (button.detail != 1) break;  // the left button only is the stylus
            lastInputTime_ = button.time;
            const POINT point = ScreenPoint(button.root_x, button.root_y);
            if ((event.response_type & 0x7F) == XCB_BUTTON_PRESS) {
                input::StylusDown(point);
            } else {
                input::StylusUp(point);
            }
            break;
        }
        case XCB_MOTION_NOTIFY: {
            const auto& motion = reinterpret_cast<const xcb_motion_notify_event_t&>(event);
            if ((motion.state & XCB_BUTTON_MASK_1) != 0) {
                input::StylusMove(ScreenPoint(motion.root_x, motion.root_y));
            }
            break;
        }
        case XCB_KEY_PRESS: {
            const auto& key = reinterpret_cast<const xcb_key_press_event_t&>(event);
            lastInputTime_ = key.time;
            keyboard_->KeyPressed(key.detail, key.state);
            break;
        }
        case XCB_KEY_RELEASE:
            keyboard_->KeyReleased(reinterpret_cast<const xcb_key_release_event_t&>(event).detail);
            break;
        default:
            break;
    }
}

bool X11Backend::DispatchQueued() {
    xcb_connection_t* x = connection_->Get();
    while (xcb_generic_event_t* raw = xcb_poll_for_event(x)) {
        const XcbReply<xcb_generic_event_t> event(raw);
        Handle(*event);
    }
    return xcb_connection_has_error(x) == 0;
}

bool X11Backend::WaitForEvents(int timeoutMs) {
    xcb_connection_t* x = connection_->Get();
    ShowCursorAfterFirstPicture();
    xcb_flush(x);
    // Events already read (while waiting for a reply) are in xcb's queue, not on the socket.
    if (xcb_generic_event_t* raw = xcb_poll_for_queued_event(x)) {
        const XcbReply<xcb_generic_event_t> event(raw);
        Handle(*event);
    } else {
        std::array<pollfd, 2> readable{pollfd{xcb_get_file_descriptor(x), POLLIN, 0},
                                       pollfd{SessionSignalDescriptor(), POLLIN, 0}};
        ::poll(readable.data(), readable.size(), timeoutMs);
    }
    EndSessionIfSignalled();
    // A lost connection ends the program's loop: no window of it can show any more.
    const bool alive = DispatchQueued();
    xcb_flush(x);
    return alive;
}

void X11Backend::SetClipboardText(const std::wstring& text) {
    clipboard_->SetText(Utf8FromWide(text));
    xcb_flush(connection_->Get());
}

std::wstring X11Backend::ClipboardText() {
    const std::optional<std::string> text = clipboard_->Text();
    return text ? WideFromUtf8(*text) : std::wstring();
}

std::vector<std::string> X11Backend::StartupEnvironment() {
    // The startup id carries the time of the press that started the program: a window manager
    // that prevents focus stealing gives its first window the focus by it.
    char host[256] = {};
    ::gethostname(host, sizeof host - 1);
    return {"DESKTOP_STARTUP_ID=" + programName_ + "-" + std::to_string(::getpid()) + "-" + host +
            "_TIME" + std::to_string(lastInputTime_)};
}

bool InstallX11Backend(std::string* error) {
    const char* display = std::getenv("DISPLAY");
    if (display == nullptr || *display == '\0') {
        if (error != nullptr) *error = "no X server (DISPLAY is not set)";
        return false;
    }
    std::unique_ptr<X11Connection> connection = X11Connection::Open(nullptr, error);
    if (!connection) return false;
    std::unique_ptr<X11Backend> backend = X11Backend::Create(std::move(connection), error);
    if (!backend) return false;
    InstallBackend(std::move(backend));
    return true;
}

}  // namespace platform

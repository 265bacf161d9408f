// Creating, placing and mapping X windows, and the properties window managers read.
#include "platform/backends/x11/x11_window.h"

#include <unistd.h>

#include <array>
#include <cstring>

#include "platform/base/text_encoding.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

// The launcher is a popup over everything; other windows stack as the desktop decides, unless
// they ask to stay on top.
bool WantsAlwaysOnTop(const WindowRecord& record) {
    return (record.style & WS_POPUP) != 0 || (record.exStyle & WS_EX_TOPMOST) != 0;
}

void ChangeProperty(xcb_connection_t* connection, xcb_window_t window, xcb_atom_t property,
                    xcb_atom_t type, std::uint8_t format, std::uint32_t count, const void* data) {
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, property, type, format, count,
                        data);
}

RECT OnRoot(const RECT& rect, POINT origin) {
    return RECT{rect.left + origin.x, rect.top + origin.y, rect.right + origin.x,
                rect.bottom + origin.y};
}

constexpr std::uint32_t kEvents =
    XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_FOCUS_CHANGE |
    XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_BUTTON_MOTION |
    XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE | XCB_EVENT_MASK_PROPERTY_CHANGE;

}  // namespace

X11Window::X11Window(const X11Connection& connection, HWND hwnd, xcb_window_t id)
    : connection_(connection), hwnd_(hwnd), id_(id) {}

std::unique_ptr<X11Window> X11Window::Create(const X11Connection& connection,
                                             const WindowRecord& record, POINT origin,
                                             xcb_window_t owner, const std::string& programName,
                                             bool windowManagerRuns) {
    xcb_connection_t* x = connection.Get();
    const xcb_window_t id = xcb_generate_id(x);
    const RECT placed = OnRoot(record.rect, origin);
    const int width = placed.right - placed.left;
    const int height = placed.bottom - placed.top;
    // No background: the server paints nothing before our picture comes.
    const std::array<std::uint32_t, 3> values{XCB_BACK_PIXMAP_NONE, 0, kEvents};
    xcb_create_window(x, XCB_COPY_FROM_PARENT, id, connection.Root(),
                      static_cast<std::int16_t>(placed.left), static_cast<std::int16_t>(placed.top),
                      static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height), 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, connection.Screen()->root_visual,
                      XCB_CW_BACK_PIXMAP | XCB_CW_BORDER_PIXEL | XCB_CW_EVENT_MASK, values.data());
    std::unique_ptr<X11Window> window(new X11Window(connection, record.handle, id));
    window->placed_ = placed;
    window->size_ = SIZE{width, height};
    window->focusOnMap_ = !windowManagerRuns;
    window->SetProperties(record, owner, programName);
    window->presenter_ = std::make_unique<X11Presenter>(connection, id);
    xcb_map_window(x, id);
    return window;
}

X11Window::~X11Window() {
    presenter_.reset();
    if (!destroyed_) xcb_destroy_window(connection_.Get(), id_);
}

void X11Window::SetProperties(const WindowRecord& record, xcb_window_t owner,
                              const std::string& programName) {
    xcb_connection_t* x = connection_.Get();
    const X11Atoms& atoms = connection_.Atoms();
    SetTitle(Utf8FromWide(record.text));
    // WM_CLASS: instance and class, each ended by a zero byte.
    const std::string windowClass = programName + '\0' + programName + '\0';
    ChangeProperty(x, id_, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 8,
                   static_cast<std::uint32_t>(windowClass.size()), windowClass.data());
    const std::uint32_t pid = static_cast<std::uint32_t>(::getpid());
    ChangeProperty(x, id_, atoms.netWmPid, XCB_ATOM_CARDINAL, 32, 1, &pid);
    const std::array<xcb_atom_t, 3> protocols{atoms.wmDeleteWindow, atoms.wmTakeFocus,
                                              atoms.netWmPing};
    ChangeProperty(x, id_, atoms.wmProtocols, XCB_ATOM_ATOM, 32, protocols.size(),
                   protocols.data());
    // WM_HINTS: the window takes input (flags, input).
    const std::array<std::uint32_t, 9> hints{1, 1, 0, 0, 0, 0, 0, 0, 0};
    ChangeProperty(x, id_, XCB_ATOM_WM_HINTS, XCB_ATOM_WM_HINTS, 32, hints.size(), hints.data());
    // WM_NORMAL_HINTS: placed and sized by us (USPosition, USSize), and of that size only.
    const int width = placed_.right - placed_.left;
    const int height = placed_.bottom - placed_.top;
    std::array<std::uint32_t, 18> normal{};
    normal[0] = 1 | 2 | 16 | 32;  // USPosition, USSize, PMinSize, PMaxSize
    normal[1] = static_cast<std::uint32_t>(placed_.left);
    normal[2] = static_cast<std::uint32_t>(placed_.top);
    normal[3] = normal[5] = normal[7] = static_cast<std::uint32_t>(width);
    normal[4] = normal[6] = normal[8] = static_cast<std::uint32_t>(height);
    ChangeProperty(x, id_, XCB_ATOM_WM_NORMAL_HINTS, XCB_ATOM_WM_SIZE_HINTS, 32, normal.size(),
                   normal.data());
    // Our windows draw their own frame: no decorations (flags: decorations; decorations: none).
    const std::array<std::uint32_t, 5> motif{2, 0, 0, 0, 0};
    ChangeProperty(x, id_, atoms.motifWmHints, atoms.motifWmHints, 32, motif.size(), motif.data());
    const xcb_atom_t type = owner != 0 || WantsAlwaysOnTop(record) ? atoms.netWmWindowTypeDialog
                                                                   : atoms.netWmWindowTypeNormal;
    ChangeProperty(x, id_, atoms.netWmWindowType, XCB_ATOM_ATOM, 32, 1, &type);
    if (WantsAlwaysOnTop(record)) {
        ChangeProperty(x, id_, atoms.netWmState, XCB_ATOM_ATOM, 32, 1, &atoms.netWmStateAbove);
    }
    if (owner != 0) {
        ChangeProperty(x, id_, XCB_ATOM_WM_TRANSIENT_FOR, XCB_ATOM_WINDOW, 32, 1, &owner);
    }
}

void X11Window::SetTitle(const std::string& title) {
    xcb_connection_t* x = connection_.Get();
    ChangeProperty(x, id_, connection_.Atoms().netWmName, connection_.Atoms().utf8String, 8,
                   static_cast<std::uint32_t>(title.size()), title.data());
    ChangeProperty(x, id_, XCB_ATOM_WM_NAME, connection_.Atoms().utf8String, 8,
                   static_cast<std::uint32_t>(title.size()), title.data());
    title_ = title;
}

void X11Window::Sync(const WindowRecord& record, POINT origin) {
    if (destroyed_) return;
    if (std::string title = Utf8FromWide(record.text); title != title_) SetTitle(title);
    const RECT rect = OnRoot(record.rect, origin);
    if (rect.left == placed_.left && rect.top == placed_.top && rect.right == placed_.right &&
        rect.bottom == placed_.bottom) {
        return;
    }
    const std::array<std::uint32_t, 4> values{static_cast<std::uint32_t>(rect.left),
                                              static_cast<std::uint32_t>(rect.top),
                                              static_cast<std::uint32_t>(rect.right - rect.left),
                                              static_cast<std::uint32_t>(rect.bottom - rect.top)};
    xcb_configure_window(connection_.Get(), id_,
                         XCB_CONFIG_WINDOW_X | XCB_CONFIG_WINDOW_Y | XCB_CONFIG_WINDOW_WIDTH |
                             XCB_CONFIG_WINDOW_HEIGHT,
                         values.data());
    placed_ = rect;
    size_ = SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void X11Window::Present(const Surface& picture, const RECT& dirty) {
    if (destroyed_ || !mapped_) return;
    const std::optional<unsigned int> request = presenter_->Present(picture, dirty);
    const RECT bounds = picture.Bounds();
    if (request && dirty.left <= 0 && dirty.top <= 0 && dirty.right >= bounds.right &&
        dirty.bottom >= bounds.bottom) {
        wholePictureRequest_ = request;
    }
}

bool X11Window::ExposeAnswered(std::uint16_t exposeSequence) const {
    return wholePictureRequest_ && EventBeforeRequest(exposeSequence, *wholePictureRequest_);
}

bool EventBeforeRequest(std::uint16_t eventSequence, unsigned int request) {
    // The distance back from the request, modulo 2^16: an event made while the server handled
    // an earlier request carries a smaller number, one after it the request's own or later.
    return static_cast<std::int16_t>(
               static_cast<std::uint16_t>(eventSequence - static_cast<std::uint16_t>(request))) < 0;
}

void X11Window::MapReported() {
    mapped_ = true;
    if (focusOnMap_) {
        focusOnMap_ = false;
        xcb_set_input_focus(connection_.Get(), XCB_INPUT_FOCUS_PARENT, id_, XCB_CURRENT_TIME);
    }
}

void X11Window::TakeFocus(bool windowManagerRuns) {
    if (destroyed_) return;
    if (windowManagerRuns) {
        // _NET_ACTIVE_WINDOW from an application (source 1), as window managers expect.
        xcb_client_message_event_t message{};
        message.response_type = XCB_CLIENT_MESSAGE;
        message.format = 32;
        message.window = id_;
        message.type = connection_.Atoms().netActiveWindow;
        message.data.data32[0] = 1;
        message.data.data32[1] = XCB_CURRENT_TIME;
        xcb_send_event(connection_.Get(), 0, connection_.Root(),
                       XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                       reinterpret_cast<const char*>(&message));
    }
    // Without a window manager nobody hands the keyboard to a window: the program takes it,
    // once the window is on screen (the server refuses it for one that is not).
    if (mapped_) {
        xcb_set_input_focus(connection_.Get(), XCB_INPUT_FOCUS_PARENT, id_, XCB_CURRENT_TIME);
    } else {
        focusOnMap_ = true;
    }
}

}  // namespace platform

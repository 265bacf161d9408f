#include "platform/backends/sdl/x11_clipboard.h"

#include <SDL_syswm.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>

#include <cstring>

#include <climits>
#include <memory>

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

struct DisplayCloser {
    void operator()(Display* display) const noexcept { XCloseDisplay(display); }
};

// Waits for the next event on our window that `wanted` accepts; false when the deadline passes.
template <typename Predicate>
bool WaitForEvent(Display* display, Clock::time_point deadline, XEvent* event,
                  const Predicate& wanted) {
    for (;;) {
        while (XPending(display) > 0) {
            XNextEvent(display, event);
            if (wanted(*event)) return true;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd readable{ConnectionNumber(display), POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left.count())) < 0) return false;
    }
}

// Takes the property's whole value off the window (deleting it, which tells an INCR owner to go
// on), appending what fits in `limit` to `text`; its type, or None when it cannot be read.
Atom TakeProperty(Display* display, Window window, Atom property, std::size_t limit,
                  std::string& text, unsigned long* bytes) {
    Atom type = None;
    int format = 0;
    unsigned long items = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display, window, property, 0, LONG_MAX / 4, True, AnyPropertyType, &type,
                           &format, &items, &after, &data) != Success) {
        return None;
    }
    const unsigned long size = items * static_cast<unsigned long>(format / 8);
    *bytes = size;
    if (data != nullptr) {
        const std::size_t room = limit > text.size() ? limit - text.size() : 0;
        text.append(reinterpret_cast<const char*>(data), std::min<std::size_t>(size, room));
        XFree(data);
    }
    return type;
}

}  // namespace

std::optional<std::string> ReadX11ClipboardText(const std::string& displayName,
                                                std::chrono::milliseconds timeout,
                                                std::size_t limit) {
    const std::unique_ptr<Display, DisplayCloser> connection(XOpenDisplay(displayName.c_str()));
    if (!connection) return std::nullopt;
    Display* display = connection.get();
    const Atom clipboard = XInternAtom(display, "CLIPBOARD", False);
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    const Atom incremental = XInternAtom(display, "INCR", False);
    const Atom property = XInternAtom(display, "TAVREL_CLIPBOARD", False);
    if (XGetSelectionOwner(display, clipboard) == None) return std::nullopt;

    const Window window =
        XCreateSimpleWindow(display, DefaultRootWindow(display), 0, 0, 1, 1, 0, 0, 0);
    XSelectInput(display, window, PropertyChangeMask);
    XConvertSelection(display, clipboard, utf8, property, window, CurrentTime);
    XFlush(display);
    const Clock::time_point deadline = Clock::now() + timeout;
    XEvent event;
    const bool answered = WaitForEvent(display, deadline, &event, [&](const XEvent& candidate) {
        return candidate.type == SelectionNotify && candidate.xselection.requestor == window;
    });
    if (!answered || event.xselection.property == None) return std::nullopt;

    std::string text;
    unsigned long bytes = 0;
    const Atom type = TakeProperty(display, window, property, limit, text, &bytes);
    if (type != incremental) {
        if (type != utf8 && type != XA_STRING) return std::nullopt;
        return text;
    }
    // Chunks follow, each a new value of the property, until an empty one; the first property
    // only said how much to expect.
    text.clear();
    for (;;) {
        const bool chunk = WaitForEvent(display, deadline, &event, [&](const XEvent& candidate) {
            return candidate.type == PropertyNotify && candidate.xproperty.window == window &&
                   candidate.xproperty.atom == property &&
                   candidate.xproperty.state == PropertyNewValue;
        });
        if (!chunk) return text.empty() ? std::nullopt : std::optional<std::string>(text);
        if (TakeProperty(display, window, property, limit, text, &bytes) == None) return text;
        if (bytes == 0 || text.size() >= limit) return text;
    }
}

std::optional<X11ClipboardSelection> ClipboardSelectionOf(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (window == nullptr || driver == nullptr || std::strcmp(driver, "x11") != 0) {
        return std::nullopt;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return std::nullopt;
    }
    Display* display = info.info.x11.display;
    return X11ClipboardSelection{
        DisplayString(display),
        XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False))};
}

}  // namespace platform

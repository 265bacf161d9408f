// RandR monitors: listing them, choosing the one under the pointer, finding it again after a
// change.
#include "platform/backends/x11/x11_monitor.h"

#include <xcb/randr.h>

#include <algorithm>

#include "platform/backends/x11/x11_connection.h"

namespace platform {
namespace {

bool Holds(const X11Monitor& monitor, POINT point) {
    return point.x >= monitor.x && point.x < monitor.x + monitor.width && point.y >= monitor.y &&
           point.y < monitor.y + monitor.height;
}

}  // namespace

std::optional<X11Monitor> ChooseMonitor(const std::vector<X11Monitor>& monitors, POINT pointer) {
    if (monitors.empty()) return std::nullopt;
    const auto under =
        std::find_if(monitors.begin(), monitors.end(),
                     [&](const X11Monitor& monitor) { return Holds(monitor, pointer); });
    if (under != monitors.end()) return *under;
    const auto primary = std::find_if(monitors.begin(), monitors.end(),
                                      [](const X11Monitor& monitor) { return monitor.primary; });
    return primary != monitors.end() ? *primary : monitors.front();
}

X11Monitors::X11Monitors(const X11Connection& connection)
    : connection_(connection),
      rootSize_{connection.Screen()->width_in_pixels, connection.Screen()->height_in_pixels} {
    xcb_connection_t* x = connection.Get();
    // A request of an extension the server lacks would close the connection: ask first.
    const xcb_query_extension_reply_t* extension = xcb_get_extension_data(x, &xcb_randr_id);
    if (extension == nullptr || extension->present == 0) return;
    XcbReply<xcb_randr_query_version_reply_t> version(
        xcb_randr_query_version_reply(x, xcb_randr_query_version(x, 1, 5), nullptr));
    hasMonitors_ = version && (version->major_version > 1 ||
                               (version->major_version == 1 && version->minor_version >= 5));
}

X11Monitor X11Monitors::RootArea() const {
    return X11Monitor{XCB_ATOM_NONE, true, 0, 0, rootSize_.cx, rootSize_.cy};
}

std::vector<X11Monitor> X11Monitors::List() const {
    std::vector<X11Monitor> monitors;
    if (!hasMonitors_) return monitors;
    xcb_connection_t* x = connection_.Get();
    XcbReply<xcb_randr_get_monitors_reply_t> reply(
        xcb_randr_get_monitors_reply(x, xcb_randr_get_monitors(x, connection_.Root(), 1), nullptr));
    if (!reply) return monitors;
    for (auto it = xcb_randr_get_monitors_monitors_iterator(reply.get()); it.rem > 0;
         xcb_randr_monitor_info_next(&it)) {
        const xcb_randr_monitor_info_t& info = *it.data;
        if (info.width == 0 || info.height == 0) continue;
        monitors.push_back(
            X11Monitor{info.name, info.primary != 0, info.x, info.y, info.width, info.height});
    }
    return monitors;
}

X11Monitor X11Monitors::UnderPointer() const {
    xcb_connection_t* x = connection_.Get();
    const xcb_query_pointer_cookie_t pointerCookie = xcb_query_pointer(x, connection_.Root());
    const std::vector<X11Monitor> monitors = List();
    XcbReply<xcb_query_pointer_reply_t> pointer(xcb_query_pointer_reply(x, pointerCookie, nullptr));
    // The pointer on another screen of the server reports no place on ours.
    const POINT at = pointer && pointer->same_screen != 0 ? POINT{pointer->root_x, pointer->root_y}
                                                          : POINT{-1, -1};
    return ChooseMonitor(monitors, at).value_or(RootArea());
}

std::optional<X11Monitor> X11Monitors::Named(xcb_atom_t name) const {
    if (name == XCB_ATOM_NONE) return RootArea();
    const std::vector<X11Monitor> monitors = List();
    const auto found =
        std::find_if(monitors.begin(), monitors.end(),
                     [&](const X11Monitor& monitor) { return monitor.name == name; });
    if (found == monitors.end()) return std::nullopt;
    return *found;
}

}  // namespace platform

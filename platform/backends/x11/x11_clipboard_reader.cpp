// The CLIPBOARD selection read as a requestor: ask, wait for the owner's answer, take the
// property (and its INCR chunks).
#include "platform/backends/x11/x11_clipboard_reader.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <memory>

#include "platform/backends/x11/x11_connection.h"

namespace platform {
namespace {

using Clock = std::chrono::steady_clock;

// The next event that `wanted` accepts; nullptr when the deadline passes or the connection
// breaks. Others are dropped: this connection is ours alone.
template <typename Predicate>
XcbReply<xcb_generic_event_t> WaitForEvent(xcb_connection_t* connection, Clock::time_point deadline,
                                           const Predicate& wanted) {
    for (;;) {
        while (xcb_generic_event_t* raw = xcb_poll_for_event(connection)) {
            XcbReply<xcb_generic_event_t> event(raw);
            if (wanted(*event)) return event;
        }
        if (xcb_connection_has_error(connection) != 0) return nullptr;
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return nullptr;
        pollfd readable{xcb_get_file_descriptor(connection), POLLIN, 0};
        if (::poll(&readable, 1, static_cast<int>(left.count())) < 0) return nullptr;
    }
}

// Takes the property's whole value off the window (deleting it, which tells an INCR owner to
// go on), appending what fits in `limit` to `text`; its type (0 when it cannot be read) and its
// size in bytes.
std::pair<xcb_atom_t, std::size_t> TakeProperty(xcb_connection_t* connection, xcb_window_t window,
                                                xcb_atom_t property, std::size_t limit,
                                                std::string& text) {
    XcbReply<xcb_get_property_reply_t> reply(
        xcb_get_property_reply(connection,
                               xcb_get_property(connection, 1, window, property,
                                                XCB_GET_PROPERTY_TYPE_ANY, 0, UINT32_MAX / 4),
                               nullptr));
    if (!reply) return {0, 0};
    const auto size = static_cast<std::size_t>(xcb_get_property_value_length(reply.get()));
    const std::size_t room = limit > text.size() ? limit - text.size() : 0;
    text.append(static_cast<const char*>(xcb_get_property_value(reply.get())),
                std::min(size, room));
    return {reply->type, size};
}

}  // namespace

std::optional<std::string> ReadX11ClipboardText(const std::string& displayName,
                                                std::chrono::milliseconds timeout,
                                                std::size_t limit) {
    std::unique_ptr<X11Connection> own = X11Connection::Open(displayName.c_str(), nullptr);
    if (!own) return std::nullopt;
    xcb_connection_t* connection = own->Get();
    const X11Atoms& atoms = own->Atoms();
    XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, atoms.clipboard), nullptr));
    if (!owner || owner->owner == XCB_NONE) return std::nullopt;
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, own->Root(), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    xcb_convert_selection(connection, window, atoms.clipboard, atoms.utf8String,
                          atoms.selectionProperty, XCB_CURRENT_TIME);
    xcb_flush(connection);
    const Clock::time_point deadline = Clock::now() + timeout;
    XcbReply<xcb_generic_event_t> answer =
        WaitForEvent(connection, deadline, [window](const xcb_generic_event_t& event) {
            return (event.response_type & 0x7F) == XCB_SELECTION_NOTIFY &&
                   reinterpret_cast<const xcb_selection_notify_event_t&>(event).requestor == window;
        });
    if (!answer ||
        reinterpret_cast<const xcb_selection_notify_event_t&>(*answer).property == XCB_NONE) {
        return std::nullopt;
    }
    std::string text;
    const auto [type, size] =
        TakeProperty(connection, window, atoms.selectionProperty, limit, text);
    if (type != atoms.incr) {
        if (type != atoms.utf8String && type != XCB_ATOM_STRING) return std::nullopt;
        return text;
    }
    // Chunks follow, each a new value of the property, until an empty one; the first value only
    // said how much to expect.
    text.clear();
    for (;;) {
        XcbReply<xcb_generic_event_t> chunk =
            WaitForEvent(connection, deadline, [&](const xcb_generic_event_t& event) {
                if ((event.response_type & 0x7F) != XCB_PROPERTY_NOTIFY) return false;
                const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
                return notify.window == window && notify.atom == atoms.selectionProperty &&
                       notify.state == XCB_PROPERTY_NEW_VALUE;
            });
        if (!chunk) return text.empty() ? std::nullopt : std::optional<std::string>(text);
        const auto [chunkType, chunkSize] =
            TakeProperty(connection, window, atoms.selectionProperty, limit, text);
        if (chunkType == 0 || chunkSize == 0 || text.size() >= limit) return text;
    }
}

}  // namespace platform

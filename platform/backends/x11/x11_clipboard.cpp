// The CLIPBOARD selection's owner side, and reading through x11_clipboard_reader.
#include "platform/backends/x11/x11_clipboard.h"

#include <algorithm>
#include <array>

#include "platform/backends/shared/clipboard_limits.h"
#include "platform/backends/x11/x11_clipboard_reader.h"

namespace platform {
namespace {

// Chunks of an INCR transfer: well inside any server's request limit.
constexpr std::size_t kChunkBytes = 64 * 1024;

}  // namespace

X11Clipboard::X11Clipboard(const X11Connection& connection)
    : connection_(connection), window_(xcb_generate_id(connection.Get())) {
    xcb_create_window(connection.Get(), XCB_COPY_FROM_PARENT, window_, connection.Root(), 0, 0, 1,
                      1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
}

X11Clipboard::~X11Clipboard() { xcb_destroy_window(connection_.Get(), window_); }

void X11Clipboard::SetText(std::string text) {
    text_ = std::move(text);
    xcb_set_selection_owner(connection_.Get(), window_, connection_.Atoms().clipboard,
                            XCB_CURRENT_TIME);
}

std::optional<std::string> X11Clipboard::Text() {
    xcb_connection_t* x = connection_.Get();
    XcbReply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        x, xcb_get_selection_owner(x, connection_.Atoms().clipboard), nullptr));
    if (owner && owner->owner == window_ && text_) return text_;
    text_.reset();
    if (!owner || owner->owner == XCB_NONE) return std::nullopt;
    return ReadX11ClipboardText(connection_.DisplayName(), kClipboardWait, kMaxClipboardBytes);
}

void X11Clipboard::Answer(const xcb_selection_request_event_t& request) {
    xcb_connection_t* x = connection_.Get();
    const X11Atoms& atoms = connection_.Atoms();
    // An old requestor names no property: the target is the property.
    const xcb_atom_t property = request.property != XCB_NONE ? request.property : request.target;
    xcb_selection_notify_event_t notify{};
    notify.response_type = XCB_SELECTION_NOTIFY;
    notify.time = request.time;
    notify.requestor = request.requestor;
    notify.selection = request.selection;
    notify.target = request.target;
    notify.property = XCB_NONE;  // refused, unless answered below
    if (request.selection == atoms.clipboard && text_) {
        if (request.target == atoms.targets) {
            const std::array<xcb_atom_t, 4> targets{atoms.targets, atoms.utf8String, atoms.text,
                                                    XCB_ATOM_STRING};
            xcb_change_property(x, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                XCB_ATOM_ATOM, 32, targets.size(), targets.data());
            notify.property = property;
        } else if (request.target == atoms.utf8String || request.target == atoms.text ||
                   request.target == XCB_ATOM_STRING) {
            if (text_->size() <= kChunkBytes) {
                xcb_change_property(x, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                    atoms.utf8String, 8, static_cast<std::uint32_t>(text_->size()),
                                    text_->data());
            } else {
                // Too large for one request: the size first; each deletion asks for a chunk.
                const auto size = static_cast<std::uint32_t>(text_->size());
                const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(x, request.requestor, XCB_CW_EVENT_MASK, &events);
                xcb_change_property(x, XCB_PROP_MODE_REPLACE, request.requestor, property,
                                    atoms.incr, 32, 1, &size);
                transfers_.push_back({request.requestor, property, 0});
            }
            notify.property = property;
        }
    }
    xcb_send_event(x, 0, request.requestor, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&notify));
}

bool X11Clipboard::SendChunk(Transfer& transfer) {
    const std::size_t size =
        text_ ? std::min(kChunkBytes, text_->size() - std::min(transfer.sent, text_->size())) : 0;
    xcb_change_property(connection_.Get(), XCB_PROP_MODE_REPLACE, transfer.requestor,
                        transfer.property, connection_.Atoms().utf8String, 8,
                        static_cast<std::uint32_t>(size),
                        size > 0 ? text_->data() + transfer.sent : nullptr);
    transfer.sent += size;
    return size > 0;
}

bool X11Clipboard::HandleEvent(const xcb_generic_event_t& event) {
    switch (event.response_type & 0x7F) {
        case XCB_SELECTION_REQUEST: {
            const auto& request = reinterpret_cast<const xcb_selection_request_event_t&>(event);
            if (request.owner != window_) return false;
            Answer(request);
            return true;
        }
        case XCB_SELECTION_CLEAR: {
            const auto& clear = reinterpret_cast<const xcb_selection_clear_event_t&>(event);
            if (clear.owner != window_) return false;
            text_.reset();
            return true;
        }
        case XCB_PROPERTY_NOTIFY: {
            const auto& notify = reinterpret_cast<const xcb_property_notify_event_t&>(event);
            if (notify.state != XCB_PROPERTY_DELETE) return false;
            const auto transfer =
                std::find_if(transfers_.begin(), transfers_.end(), [&](const Transfer& under) {
                    return under.requestor == notify.window && under.property == notify.atom;
                });
            if (transfer == transfers_.end()) return false;
            if (!SendChunk(*transfer)) transfers_.erase(transfer);
            return true;
        }
        default:
            return false;
    }
}

}  // namespace platform

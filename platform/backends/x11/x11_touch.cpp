// XInput 2.2 touch events as the stylus.
#include "platform/backends/x11/x11_touch.h"

#include <xcb/xinput.h>

#include "platform/backends/x11/x11_connection.h"
#include "platform/windows/input.h"

namespace platform {

POINT X11Touch::StylusPoint(const xcb_input_touch_begin_event_t& event) const {
    // 16.16 fixed point; the stylus lands on the pixel the finger is in.
    return POINT{(event.root_x >> 16) - origin_.x, (event.root_y >> 16) - origin_.y};
}

std::optional<std::uint8_t> X11Touch::QueryOpcode(xcb_connection_t* connection) {
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(connection, &xcb_input_id);
    if (extension == nullptr || extension->present == 0) return std::nullopt;
    XcbReply<xcb_input_xi_query_version_reply_t> version(xcb_input_xi_query_version_reply(
        connection, xcb_input_xi_query_version(connection, 2, 2), nullptr));
    if (!version || version->major_version < 2 ||
        (version->major_version == 2 && version->minor_version < 2)) {
        return std::nullopt;
    }
    return extension->major_opcode;
}

void X11Touch::SelectOn(xcb_connection_t* connection, xcb_window_t window) const {
    if (opcode_ == 0) return;
    struct {
        xcb_input_event_mask_t head;
        std::uint32_t mask;
    } mask{{XCB_INPUT_DEVICE_ALL_MASTER, 1},
           XCB_INPUT_XI_EVENT_MASK_TOUCH_BEGIN | XCB_INPUT_XI_EVENT_MASK_TOUCH_UPDATE |
               XCB_INPUT_XI_EVENT_MASK_TOUCH_END};
    xcb_input_xi_select_events(connection, window, 1, &mask.head);
}

bool X11Touch::Handle(const xcb_generic_event_t& event) {
    if (opcode_ == 0 || (event.response_type & 0x7F) != XCB_GE_GENERIC) return false;
    const auto& generic = reinterpret_cast<const xcb_ge_generic_event_t&>(event);
    if (generic.extension != opcode_) return false;
    const auto& touch = reinterpret_cast<const xcb_input_touch_begin_event_t&>(event);
    switch (generic.event_type) {
        case XCB_INPUT_TOUCH_BEGIN:
            if (!finger_ && !input::IsStylusDown()) {
                finger_ = touch.detail;
                input::StylusDown(StylusPoint(touch));
            }
            return true;
        case XCB_INPUT_TOUCH_UPDATE:
            if (finger_ == touch.detail) input::StylusMove(StylusPoint(touch));
            return true;
        case XCB_INPUT_TOUCH_END:
            if (finger_ == touch.detail) {
                finger_.reset();
                input::StylusUp(StylusPoint(touch));
            }
            return true;
        default:
            return false;
    }
}

}  // namespace platform

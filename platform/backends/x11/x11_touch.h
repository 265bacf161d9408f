// Touch screens on X11 through XInput 2.2: the first finger on one of our windows is the
// stylus, from its begin through its updates to its end; further fingers are ignored.
#pragma once

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdint>
#include <optional>

#include "platform/base/win_types.h"

namespace platform {

class X11Touch {
  public:
    // The XInput extension's major opcode; 0 when the server has no XInput 2.2 (mouse only).
    explicit X11Touch(std::uint8_t opcode) : opcode_(opcode) {}
    // Asks the server; nullopt when it offers no XInput 2.2.
    static std::optional<std::uint8_t> QueryOpcode(xcb_connection_t* connection);

    // Asks for the touch events of a window.
    void SelectOn(xcb_connection_t* connection, xcb_window_t window) const;
    // A touch event (an XInput generic event); true when it was one.
    bool Handle(const xcb_generic_event_t& event);
    // The corner of the monitor that is the screen, on the root window: points are taken from
    // it.
    void SetOrigin(POINT origin) { origin_ = origin; }

  private:
    POINT StylusPoint(const xcb_input_touch_begin_event_t& event) const;

    std::uint8_t opcode_;
    POINT origin_{};
    std::optional<std::uint32_t> finger_;  // the touch that is the stylus
};

}  // namespace platform

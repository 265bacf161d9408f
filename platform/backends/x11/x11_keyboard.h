// The X server's keyboard through XKB: its keymap compiled by xkbcommon when the first key
// comes (start-up does not wait for it), modifiers and layout from the server's state reports,
// repeats that come as presses only (detectable auto-repeat), and the keys fed to the programs.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>

#include "platform/backends/xkb/xkb_keyboard.h"

namespace platform {

class X11Keyboard {
  public:
    explicit X11Keyboard(xcb_connection_t* connection);

    // A core key event (its keycode is xkb's) with the modifiers it reports.
    void KeyPressed(std::uint8_t keycode, std::uint16_t state);
    void KeyReleased(std::uint8_t keycode);
    // The focus left our windows: no key counts as held.
    void FocusLost();
    // An event of the XKB extension (its first event code is ours to know); true when it was one.
    bool HandleXkbEvent(const xcb_generic_event_t& event);

  private:
    XkbKeyboard* Keys(std::uint16_t state);
    bool CompileKeymap();

    xcb_connection_t* connection_;
    bool tried_ = false;
    std::uint8_t firstXkbEvent_ = 0;
    std::int32_t device_ = -1;
    XkbContextPointer context_;
    std::unique_ptr<XkbKeyboard> keys_;
};

}  // namespace platform

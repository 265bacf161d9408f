// Keys of an xkb keymap as the programs see them: virtual keys for WM_KEYDOWN / WM_KEYUP and
// the text for WM_CHAR, for every backend the keymap comes from (Wayland, X11).
#pragma once

#include <xkbcommon/xkbcommon-compose.h>
#include <xkbcommon/xkbcommon.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <string_view>

#include "platform/base/win_types.h"

namespace platform {

template <typename Object, void (*Unref)(Object*)>
struct XkbUnref {
    void operator()(Object* object) const {
        if (object != nullptr) Unref(object);
    }
};

using XkbContextPointer = std::unique_ptr<xkb_context, XkbUnref<xkb_context, xkb_context_unref>>;
using XkbKeymapPointer = std::unique_ptr<xkb_keymap, XkbUnref<xkb_keymap, xkb_keymap_unref>>;
using XkbStatePointer = std::unique_ptr<xkb_state, XkbUnref<xkb_state, xkb_state_unref>>;
using XkbComposeStatePointer =
    std::unique_ptr<xkb_compose_state, XkbUnref<xkb_compose_state, xkb_compose_state_unref>>;

// One keyboard: its keymap, the modifiers and layout in effect, the keys held and a compose
// sequence under way. Keycodes are xkb's (evdev code + 8), as Wayland and X11 both deliver them.
class XkbKeyboard {
  public:
    // Evdev key codes (Wayland's) are xkb's less this.
    static constexpr std::uint32_t kEvdevOffset = 8;

    // composeLocale names the compose table; nullptr takes the user's locale (LC_ALL, else
    // LC_CTYPE, else LANG, else "C"). Without a compose table keys still type, uncomposed.

    // The keymap a compositor sends (XKB_KEYMAP_FORMAT_TEXT_V1, a trailing NUL allowed);
    // nullptr when it cannot be compiled.
    static std::unique_ptr<XkbKeyboard> FromKeymapText(std::string_view keymap,
                                                       const char* composeLocale = nullptr);
    // The keymap of the evdev rules for a layout and variant, whatever XKB_DEFAULT_* say
    // (tests, and a fallback); nullptr when xkb knows no such layout.
    static std::unique_ptr<XkbKeyboard> FromNames(const char* layout, const char* variant = nullptr,
                                                  const char* composeLocale = nullptr);

    // A keymap compiled elsewhere (an X server's); the context only loads the compose table.
    XkbKeyboard(xkb_context* context, XkbKeymapPointer keymap, const char* composeLocale);

    struct Press {
        UINT virtualKey = 0;   // 0: a key the programs have no virtual key for
        std::wstring text;     // what it types (WM_CHAR), after compose; empty for control keys
        bool repeats = false;  // whether holding it repeats (xkb_keymap_key_repeats)
    };

    // A press of a key already held is taken as its repeat.
    Press KeyDown(std::uint32_t xkbKeycode);
    // The virtual key its press gave, even if Num Lock or the layout changed meanwhile; for a key
    // pressed before the keyboard knew (held on focus-in), the one it stands for now. 0 for none.
    UINT KeyUp(std::uint32_t xkbKeycode);
    // A repeat of a held key gives exactly what its press gave, and feeds no compose sequence
    // again: holding a dead key must not compose it with itself, and holding the key that
    // ended a sequence repeats the composed character. Nothing for a key not held.
    Press Repeat(std::uint32_t xkbKeycode) const;

    // The modifier state a compositor or server reports (wl_keyboard.modifiers, an X state
    // notify). It replaces what the keys set so far, so both may feed the same keyboard.
    void SetModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                      std::uint32_t group);
    // The focus left: no key counts as held any more, a compose sequence ends and modifiers held
    // down are released; locks (Caps Lock, Num Lock, the layout) stay.
    void ForgetHeldKeys();

  private:
    UINT VirtualKeyOf(std::uint32_t xkbKeycode);
    std::wstring TextOf(std::uint32_t xkbKeycode);
    bool ShortcutModifierActive() const;
    // Brings keyIdentityState_ to state_'s layout and Num Lock.
    void SyncKeyIdentity();

    XkbKeymapPointer keymap_;
    XkbStatePointer state_;
    // Only the layout and Num Lock of state_: which key a key is, whatever Shift, Control or
    // AltGr do to what it types (Shift+1 is still '1', AltGr+Q still 'Q').
    XkbStatePointer keyIdentityState_;
    xkb_mod_mask_t numLockMask_ = 0;
    XkbComposeStatePointer compose_;  // null without a compose table
    std::map<std::uint32_t, Press> heldKeys_;
};

}  // namespace platform

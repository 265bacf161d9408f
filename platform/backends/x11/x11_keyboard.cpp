// XKB on X11: the keymap of the core keyboard, its state reports, and key events.
#include "platform/backends/x11/x11_keyboard.h"

// xcb's XKB header names a field "explicit", a C++ keyword.
#define explicit explicit_field
#include <xcb/xkb.h>
#undef explicit
#include <xkbcommon/xkbcommon-x11.h>

#include "platform/windows/input.h"

namespace platform {
namespace {

constexpr std::uint16_t kStateParts =
    XCB_XKB_STATE_PART_MODIFIER_BASE | XCB_XKB_STATE_PART_MODIFIER_LATCH |
    XCB_XKB_STATE_PART_MODIFIER_LOCK | XCB_XKB_STATE_PART_GROUP_BASE |
    XCB_XKB_STATE_PART_GROUP_LATCH | XCB_XKB_STATE_PART_GROUP_LOCK;
constexpr std::uint16_t kMapParts =
    XCB_XKB_MAP_PART_KEY_TYPES | XCB_XKB_MAP_PART_KEY_SYMS | XCB_XKB_MAP_PART_MODIFIER_MAP |
    XCB_XKB_MAP_PART_EXPLICIT_COMPONENTS | XCB_XKB_MAP_PART_KEY_ACTIONS |
    XCB_XKB_MAP_PART_VIRTUAL_MODS | XCB_XKB_MAP_PART_VIRTUAL_MOD_MAP;

void Feed(const XkbKeyboard::Press& press) {
    if (press.virtualKey != 0) input::KeyDown(press.virtualKey);
    for (const wchar_t character : press.text) input::Character(character);
}

}  // namespace

X11Keyboard::X11Keyboard(xcb_connection_t* connection) : connection_(connection) {}

bool X11Keyboard::CompileKeymap() {
    XkbKeymapPointer keymap(xkb_x11_keymap_new_from_device(context_.get(), connection_, device_,
                                                           XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) return false;
    keys_ = std::make_unique<XkbKeyboard>(context_.get(), std::move(keymap), nullptr);
    return true;
}

XkbKeyboard* X11Keyboard::Keys(std::uint16_t state) {
    if (!tried_) {
        tried_ = true;
        if (xkb_x11_setup_xkb_extension(connection_, XKB_X11_MIN_MAJOR_XKB_VERSION,
                                        XKB_X11_MIN_MINOR_XKB_VERSION,
                                        XKB_X11_SETUP_XKB_EXTENSION_NO_FLAGS, nullptr, nullptr,
                                        &firstXkbEvent_, nullptr) == 0) {
            return nullptr;
        }
        device_ = xkb_x11_get_core_keyboard_device_id(connection_);
        context_.reset(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
        if (device_ < 0 || !context_ || !CompileKeymap()) return nullptr;
        xcb_xkb_select_events_details_t details{};
        details.affectNewKeyboard = details.newKeyboardDetails = XCB_XKB_NKN_DETAIL_KEYCODES;
        details.affectState = details.stateDetails = kStateParts;
        xcb_xkb_select_events_aux(connection_, static_cast<xcb_xkb_device_spec_t>(device_),
                                  XCB_XKB_EVENT_TYPE_NEW_KEYBOARD_NOTIFY |
                                      XCB_XKB_EVENT_TYPE_MAP_NOTIFY |
                                      XCB_XKB_EVENT_TYPE_STATE_NOTIFY,
                                  0, 0, kMapParts, kMapParts, &details);
        // A held key repeats as presses alone, not as releases and presses.
        xcb_xkb_per_client_flags(connection_, static_cast<xcb_xkb_device_spec_t>(device_),
                                 XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT,
                                 XCB_XKB_PER_CLIENT_FLAG_DETECTABLE_AUTO_REPEAT, 0, 0, 0);
        // Until the server reports its state, the core event's modifiers stand for it.
        if (keys_) keys_->SetModifiers(state & 0xFF, 0, 0, (state >> 13) & 3);
    }
    return keys_.get();
}

void X11Keyboard::KeyPressed(std::uint8_t keycode, std::uint16_t state) {
    if (XkbKeyboard* keys = Keys(state)) Feed(keys->KeyDown(keycode));
}

void X11Keyboard::KeyReleased(std::uint8_t keycode) {
    if (!keys_) return;
    if (const UINT released = keys_->KeyUp(keycode); released != 0) input::KeyUp(released);
}

void X11Keyboard::FocusLost() {
    if (keys_) keys_->ForgetHeldKeys();
}

bool X11Keyboard::HandleXkbEvent(const xcb_generic_event_t& event) {
    if (firstXkbEvent_ == 0 || (event.response_type & 0x7F) != firstXkbEvent_) return false;
    // Every XKB event says what it is in its second byte.
    switch (event.pad0) {
        case XCB_XKB_NEW_KEYBOARD_NOTIFY: {
            const auto& notify =
                reinterpret_cast<const xcb_xkb_new_keyboard_notify_event_t&>(event);
            if (notify.deviceID == device_ && (notify.changed & XCB_XKB_NKN_DETAIL_KEYCODES) != 0) {
                CompileKeymap();
            }
            break;
        }
        case XCB_XKB_MAP_NOTIFY: {
            const auto& notify = reinterpret_cast<const xcb_xkb_map_notify_event_t&>(event);
            if (notify.deviceID == device_) CompileKeymap();
            break;
        }
        case XCB_XKB_STATE_NOTIFY: {
            const auto& notify = reinterpret_cast<const xcb_xkb_state_notify_event_t&>(event);
            if (notify.deviceID == device_ && keys_) {
                keys_->SetModifiers(notify.baseMods, notify.latchedMods, notify.lockedMods,
                                    static_cast<std::uint32_t>(notify.lockedGroup));
            }
            break;
        }
        default:
            break;
    }
    return true;
}

}  // namespace platform

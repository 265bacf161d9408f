// Key translation through xkbcommon: the state of modifiers and layout, virtual keys by symbol
// (by position for non-Latin layouts), text through xkb_state and the locale's compose table.
#include "platform/backends/xkb/xkb_keyboard.h"

#include <array>
#include <cstdlib>

#include "platform/base/text_encoding.h"
#include "platform/windows/messages.h"

namespace platform {
namespace {

UINT NamedKey(xkb_keysym_t symbol) {
    switch (symbol) {
        case XKB_KEY_Left:
        case XKB_KEY_KP_Left:
            return VK_LEFT;
        case XKB_KEY_Up:
        case XKB_KEY_KP_Up:
            return VK_UP;
        case XKB_KEY_Right:
        case XKB_KEY_KP_Right:
            return VK_RIGHT;
        case XKB_KEY_Down:
        case XKB_KEY_KP_Down:
            return VK_DOWN;
        case XKB_KEY_Return:
        case XKB_KEY_KP_Enter:
            return VK_RETURN;
        case XKB_KEY_Escape:
            return VK_ESCAPE;
        case XKB_KEY_F1:
            return VK_F1;
        case XKB_KEY_F2:
            return VK_F2;
        case XKB_KEY_F4:
            return VK_F4;
        case XKB_KEY_Tab:
        case XKB_KEY_ISO_Left_Tab:
            return VK_TAB;
        case XKB_KEY_BackSpace:
            return VK_BACK;
        case XKB_KEY_Delete:
        case XKB_KEY_KP_Delete:
            return VK_DELETE;
        case XKB_KEY_Insert:
        case XKB_KEY_KP_Insert:
            return VK_INSERT;
        case XKB_KEY_Home:
        case XKB_KEY_KP_Home:
            return VK_HOME;
        case XKB_KEY_End:
        case XKB_KEY_KP_End:
            return VK_END;
        case XKB_KEY_Prior:
        case XKB_KEY_KP_Prior:
            return VK_PRIOR;
        case XKB_KEY_Next:
        case XKB_KEY_KP_Next:
            return VK_NEXT;
        case XKB_KEY_space:
            return VK_SPACE;
        case XKB_KEY_Shift_L:
        case XKB_KEY_Shift_R:
            return VK_SHIFT;
        case XKB_KEY_Control_L:
        case XKB_KEY_Control_R:
            return VK_CONTROL;
        case XKB_KEY_Alt_L:
        case XKB_KEY_Alt_R:
            return VK_MENU;
        default:
            return 0;
    }
}

UINT LetterOrDigitBySymbol(xkb_keysym_t symbol) {
    if (symbol >= XKB_KEY_a && symbol <= XKB_KEY_z) return 'A' + (symbol - XKB_KEY_a);
    if (symbol >= XKB_KEY_A && symbol <= XKB_KEY_Z) return 'A' + (symbol - XKB_KEY_A);
    if (symbol >= XKB_KEY_0 && symbol <= XKB_KEY_9) return '0' + (symbol - XKB_KEY_0);
    return 0;
}

// Layouts without Latin letters (Cyrillic, Greek...) still have keys A..Z and 0..9 at the usual
// places, as the virtual keys of the original platform do. Indexed by evdev code.
UINT LetterOrDigitByPosition(std::uint32_t evdevCode) {
    static constexpr std::array<char, 51> kKeys{
        0,   0,   '1', '2', '3', '4', '5', '6', '7', '8', '9', '0', 0,   0,   0,   0,   'Q',
        'W', 'E', 'R', 'T', 'Y', 'U', 'I', 'O', 'P', 0,   0,   0,   0,   'A', 'S', 'D', 'F',
        'G', 'H', 'J', 'K', 'L', 0,   0,   0,   0,   0,   'Z', 'X', 'C', 'V', 'B', 'N', 'M'};
    return evdevCode < kKeys.size() ? static_cast<UINT>(kKeys[evdevCode]) : 0;
}

// Only symbols that stand for no ASCII character fall back to the key's position, so that
// punctuation of Latin layouts never turns into a letter; keypad and function keys have none.
bool IsNonLatinCharacter(xkb_keysym_t symbol) {
    const std::uint32_t character = xkb_keysym_to_utf32(symbol);
    return character >= 0x80;
}

const char* UserLocale() {
    for (const char* name : {"LC_ALL", "LC_CTYPE", "LANG"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return value;
    }
    return "C";
}

// Control characters come as keys (Return, Tab, Backspace, Escape), never as typed text.
std::wstring PrintableText(const std::wstring& text) {
    std::wstring printable;
    for (const wchar_t character : text) {
        if (character >= 0x20 && character != 0x7F) printable.push_back(character);
    }
    return printable;
}

XkbContextPointer NewContext() {
    return XkbContextPointer(xkb_context_new(XKB_CONTEXT_NO_ENVIRONMENT_NAMES));
}

}  // namespace

std::unique_ptr<XkbKeyboard> XkbKeyboard::FromKeymapText(std::string_view keymap,
                                                         const char* composeLocale) {
    while (!keymap.empty() && keymap.back() == '\0') keymap.remove_suffix(1);
    XkbContextPointer context = NewContext();
    if (!context || keymap.empty()) return nullptr;
    XkbKeymapPointer compiled(xkb_keymap_new_from_buffer(context.get(), keymap.data(),
                                                         keymap.size(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                                         XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!compiled) return nullptr;
    return std::make_unique<XkbKeyboard>(context.get(), std::move(compiled), composeLocale);
}

std::unique_ptr<XkbKeyboard> XkbKeyboard::FromNames(const char* layout, const char* variant,
                                                    const char* composeLocale) {
    XkbContextPointer context = NewContext();
    if (!context) return nullptr;
    const xkb_rule_names names{"evdev", "pc105", layout, variant != nullptr ? variant : "", ""};
    XkbKeymapPointer compiled(
        xkb_keymap_new_from_names(context.get(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!compiled) return nullptr;
    return std::make_unique<XkbKeyboard>(context.get(), std::move(compiled), composeLocale);
}

XkbKeyboard::XkbKeyboard(xkb_context* context, XkbKeymapPointer keymap, const char* composeLocale)
    : keymap_(std::move(keymap)),
      state_(xkb_state_new(keymap_.get())),
      keyIdentityState_(xkb_state_new(keymap_.get())) {
    const xkb_mod_index_t numLock = xkb_keymap_mod_get_index(keymap_.get(), XKB_MOD_NAME_NUM);
    if (numLock != XKB_MOD_INVALID) numLockMask_ = xkb_mod_mask_t{1} << numLock;
    using TablePointer =
        std::unique_ptr<xkb_compose_table, XkbUnref<xkb_compose_table, xkb_compose_table_unref>>;
    const TablePointer table(xkb_compose_table_new_from_locale(
        context, composeLocale != nullptr ? composeLocale : UserLocale(),
        XKB_COMPOSE_COMPILE_NO_FLAGS));
    if (table) compose_.reset(xkb_compose_state_new(table.get(), XKB_COMPOSE_STATE_NO_FLAGS));
}

void XkbKeyboard::SyncKeyIdentity() {
    const xkb_mod_mask_t locked = xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_LOCKED);
    const xkb_layout_index_t layout =
        xkb_state_serialize_layout(state_.get(), XKB_STATE_LAYOUT_EFFECTIVE);
    xkb_state_update_mask(keyIdentityState_.get(), 0, 0, locked & numLockMask_, 0, 0, layout);
}

bool XkbKeyboard::ShortcutModifierActive() const {
    return xkb_state_mod_name_is_active(state_.get(), XKB_MOD_NAME_CTRL, XKB_STATE_MODS_EFFECTIVE) >
               0 ||
           xkb_state_mod_name_is_active(state_.get(), XKB_MOD_NAME_ALT, XKB_STATE_MODS_EFFECTIVE) >
               0;
}

UINT XkbKeyboard::VirtualKeyOf(std::uint32_t xkbKeycode) {
    const xkb_keysym_t symbol = xkb_state_key_get_one_sym(keyIdentityState_.get(), xkbKeycode);
    if (const UINT named = NamedKey(symbol); named != 0) return named;
    if (const UINT bySymbol = LetterOrDigitBySymbol(symbol); bySymbol != 0) return bySymbol;
    if (IsNonLatinCharacter(symbol) && xkbKeycode >= kEvdevOffset) {
        return LetterOrDigitByPosition(xkbKeycode - kEvdevOffset);
    }
    return 0;
}

std::wstring XkbKeyboard::TextOf(std::uint32_t xkbKeycode) {
    // Ctrl+C and Alt+F are commands, not text.
    if (ShortcutModifierActive()) return {};
    const xkb_keysym_t symbol = xkb_state_key_get_one_sym(state_.get(), xkbKeycode);
    if (compose_ && xkb_compose_state_feed(compose_.get(), symbol) == XKB_COMPOSE_FEED_ACCEPTED) {
        switch (xkb_compose_state_get_status(compose_.get())) {
            case XKB_COMPOSE_COMPOSING:
                return {};
            case XKB_COMPOSE_COMPOSED: {
                std::array<char, 64> composed{};
                xkb_compose_state_get_utf8(compose_.get(), composed.data(), composed.size());
                xkb_compose_state_reset(compose_.get());
                return PrintableText(WideFromUtf8(composed.data()));
            }
            case XKB_COMPOSE_CANCELLED:
                xkb_compose_state_reset(compose_.get());
                return {};
            case XKB_COMPOSE_NOTHING:
                break;
        }
    }
    std::array<char, 64> text{};
    xkb_state_key_get_utf8(state_.get(), xkbKeycode, text.data(), text.size());
    return PrintableText(WideFromUtf8(text.data()));
}

XkbKeyboard::Press XkbKeyboard::KeyDown(std::uint32_t xkbKeycode) {
    if (heldKeys_.count(xkbKeycode) != 0) return Repeat(xkbKeycode);
    // What a key types depends on the modifiers before it: a Shift's own press types nothing.
    Press press{VirtualKeyOf(xkbKeycode), TextOf(xkbKeycode),
                xkb_keymap_key_repeats(keymap_.get(), xkbKeycode) != 0};
    xkb_state_update_key(state_.get(), xkbKeycode, XKB_KEY_DOWN);
    SyncKeyIdentity();
    heldKeys_[xkbKeycode] = press;
    return press;
}

UINT XkbKeyboard::KeyUp(std::uint32_t xkbKeycode) {
    UINT virtualKey = 0;
    if (const auto held = heldKeys_.find(xkbKeycode); held != heldKeys_.end()) {
        virtualKey = held->second.virtualKey;
        heldKeys_.erase(held);
    } else {
        virtualKey = VirtualKeyOf(xkbKeycode);
    }
    xkb_state_update_key(state_.get(), xkbKeycode, XKB_KEY_UP);
    SyncKeyIdentity();
    return virtualKey;
}

XkbKeyboard::Press XkbKeyboard::Repeat(std::uint32_t xkbKeycode) const {
    const auto held = heldKeys_.find(xkbKeycode);
    return held != heldKeys_.end() ? held->second : Press{};
}

void XkbKeyboard::SetModifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                               std::uint32_t group) {
    xkb_state_update_mask(state_.get(), depressed, latched, locked, 0, 0, group);
    SyncKeyIdentity();
}

void XkbKeyboard::ForgetHeldKeys() {
    heldKeys_.clear();
    if (compose_) xkb_compose_state_reset(compose_.get());
    const xkb_mod_mask_t locked = xkb_state_serialize_mods(state_.get(), XKB_STATE_MODS_LOCKED);
    const xkb_layout_index_t layout =
        xkb_state_serialize_layout(state_.get(), XKB_STATE_LAYOUT_EFFECTIVE);
    // A fresh state: the old one still counts the keys that were down.
    state_.reset(xkb_state_new(keymap_.get()));
    xkb_state_update_mask(state_.get(), 0, 0, locked, 0, 0, layout);
    SyncKeyIdentity();
}

}  // namespace platform

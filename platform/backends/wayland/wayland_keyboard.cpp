// wl_keyboard listener: the compositor's keymap, focus as activation, keys and text through
// xkbcommon, and the repeats of a held key made on our own clock from repeat_info.
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "platform/backends/shared/monotonic_clock.h"
#include "platform/backends/wayland/wayland_seat.h"
#include "platform/backends/wayland/wayland_window.h"
#include "platform/backends/xkb/xkb_keyboard.h"
#include "platform/windows/input.h"

namespace platform {
namespace {

WaylandSeat& SeatOf(void* data) { return *static_cast<WaylandSeat*>(data); }

void OnKeymap(void* data, wl_keyboard* /*keyboard*/, std::uint32_t format, std::int32_t fd,
              std::uint32_t size) {
    SeatOf(data).Keymap(format, fd, size);
}

void OnEnter(void* data, wl_keyboard* /*keyboard*/, std::uint32_t serial, wl_surface* surface,
             wl_array* /*keys*/) {
    SeatOf(data).KeyboardEntered(serial, surface);
}

void OnLeave(void* data, wl_keyboard* /*keyboard*/, std::uint32_t /*serial*/, wl_surface* surface) {
    SeatOf(data).KeyboardLeft(surface);
}

void OnKey(void* data, wl_keyboard* /*keyboard*/, std::uint32_t serial, std::uint32_t /*time*/,
           std::uint32_t key, std::uint32_t state) {
    SeatOf(data).Key(serial, key, state);
}

void OnModifiers(void* data, wl_keyboard* /*keyboard*/, std::uint32_t /*serial*/,
                 std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                 std::uint32_t group) {
    SeatOf(data).Modifiers(depressed, latched, locked, group);
}

void OnRepeatInfo(void* data, wl_keyboard* /*keyboard*/, std::int32_t rate, std::int32_t delay) {
    SeatOf(data).RepeatInfo(rate, delay);
}

// A keymap larger than this is no keymap (they are some tens of kilobytes).
constexpr std::uint32_t kMaxKeymapBytes = 16u << 20;

}  // namespace

extern const wl_keyboard_listener kKeyboardListener;
const wl_keyboard_listener kKeyboardListener{OnKeymap, OnEnter,     OnLeave,
                                             OnKey,    OnModifiers, OnRepeatInfo};

// The keymap is only copied here: compiling it takes milliseconds that the first frame, whose
// configure often follows it in the same batch of events, need not wait for.
void WaylandSeat::Keymap(std::uint32_t format, int fd, std::uint32_t size) {
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0 && size <= kMaxKeymapBytes) {
        // Version 7 of the seat demands a private mapping; earlier ones allow it.
        void* text = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (text != MAP_FAILED) {
            pendingKeymap_.assign(static_cast<const char*>(text), size);
            ::munmap(text, size);
        }
    }
    ::close(fd);
}

XkbKeyboard* WaylandSeat::Keys() {
    if (!pendingKeymap_.empty()) {
        // A keymap that does not compile leaves the one before in use.
        if (auto keys = XkbKeyboard::FromKeymapText(pendingKeymap_)) keys_ = std::move(keys);
        pendingKeymap_.clear();
        if (keys_ && pendingModifiers_) {
            const auto& [depressed, latched, locked, group] = *pendingModifiers_;
            keys_->SetModifiers(depressed, latched, locked, group);
        }
        pendingModifiers_.reset();
    }
    return keys_.get();
}

void WaylandSeat::KeyboardEntered(std::uint32_t serial, wl_surface* surface) {
    WaylandWindow* window = windowOf_(surface);
    if (window == nullptr) return;
    lastInputSerial_ = serial;
    keyboardSurface_ = surface;
    input::ActivationChanged(window->Handle(), true);
}

void WaylandSeat::KeyboardLeft(wl_surface* surface) {
    if (keyboardSurface_ != surface) return;
    keyboardSurface_ = nullptr;
    repeatingKey_.reset();
    if (XkbKeyboard* keys = Keys()) keys->ForgetHeldKeys();
    if (WaylandWindow* window = windowOf_(surface)) {
        input::ActivationChanged(window->Handle(), false);
    }
}

void WaylandSeat::SendPress(UINT virtualKey, const std::wstring& text) {
    if (virtualKey != 0) input::KeyDown(virtualKey);
    for (const wchar_t character : text) input::Character(character);
}

void WaylandSeat::Key(std::uint32_t serial, std::uint32_t key, std::uint32_t state) {
    XkbKeyboard* keys = Keys();
    if (keys == nullptr || keyboardSurface_ == nullptr) return;
    const std::uint32_t keycode = key + XkbKeyboard::kEvdevOffset;
    if (state == WL_KEYBOARD_KEY_STATE_PRESSED) {
        lastInputSerial_ = serial;
        const XkbKeyboard::Press press = keys->KeyDown(keycode);
        SendPress(press.virtualKey, press.text);
        if (press.repeats && repeatRate_ > 0) {
            repeatingKey_ = keycode;
            nextRepeat_ = MonotonicTickCount() + static_cast<std::uint32_t>(repeatDelay_);
        }
        return;
    }
    if (repeatingKey_ == keycode) repeatingKey_.reset();
    if (const UINT released = keys->KeyUp(keycode); released != 0) input::KeyUp(released);
}

void WaylandSeat::Modifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                            std::uint32_t group) {
    if (!pendingKeymap_.empty()) {
        pendingModifiers_ = std::array{depressed, latched, locked, group};
    } else if (keys_) {
        keys_->SetModifiers(depressed, latched, locked, group);
    }
}

void WaylandSeat::RepeatInfo(std::int32_t rate, std::int32_t delay) {
    repeatRate_ = rate > 0 ? std::min(rate, 1000) : 0;
    repeatDelay_ = std::max(delay, 0);
    if (repeatRate_ == 0) repeatingKey_.reset();
}

std::optional<int> WaylandSeat::MillisecondsToRepeat(std::uint32_t now) const {
    if (!repeatingKey_) return std::nullopt;
    // Tick arithmetic wraps: the difference as a signed number is the time left.
    const auto left = static_cast<std::int32_t>(nextRepeat_ - now);
    return std::max(left, 0);
}

void WaylandSeat::RepeatKeys(std::uint32_t now) {
    // A busy program repeats a key once per turn, never a burst for the time it was away.
    if (!repeatingKey_ || !keys_ || static_cast<std::int32_t>(nextRepeat_ - now) > 0) return;
    const XkbKeyboard::Press press = keys_->Repeat(*repeatingKey_);
    SendPress(press.virtualKey, press.text);
    nextRepeat_ = now + static_cast<std::uint32_t>(1000 / repeatRate_);
}

}  // namespace platform

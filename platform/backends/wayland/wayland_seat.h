// The seat: the pointer's left button and the first finger of the touch screen are the stylus
// (moving only while down), the keyboard goes through xkbcommon with repeats made here, since
// Wayland sends none, and the theme's pointer is shown over our surfaces.
#pragma once

#include <wayland-client.h>
#include <wayland-cursor.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/backends/wayland/wayland_proxy.h"
#include "platform/base/win_types.h"

namespace platform {

class WaylandGlobals;
class WaylandWindow;
class XkbKeyboard;

class WaylandSeat {
  public:
    // `windowOf` finds the window shown on one of our surfaces (nullptr for others).
    // The cursor is made from the globals' compositor and shm, which may be bound after the
    // seat.
    WaylandSeat(wl_seat* seat, const WaylandGlobals& globals,
                std::function<WaylandWindow*(wl_surface*)> windowOf);
    ~WaylandSeat();
    WaylandSeat(const WaylandSeat&) = delete;
    WaylandSeat& operator=(const WaylandSeat&) = delete;

    wl_seat* Seat() const { return seat_.get(); }
    // The serial of the user's last press or key, which clipboard and activation requests
    // name to show they answer the user.
    std::uint32_t LastInputSerial() const { return lastInputSerial_; }
    // The surface with the keyboard; nullptr when none of ours has it.
    wl_surface* KeyboardSurface() const { return keyboardSurface_; }

    // Milliseconds until a held key repeats (on the tick clock given); nullopt when none does.
    std::optional<int> MillisecondsToRepeat(std::uint32_t now) const;
    // Sends the repeats that are due.
    void RepeatKeys(std::uint32_t now);
    // Sets the theme's pointer on the surface the pointer entered last, if not done yet. Loading
    // a theme takes tens of milliseconds: the backend asks once the program waits for events,
    // when its first frame is out.
    void ShowWaitingCursor();
    // A window went away: input aimed at it is forgotten.
    void WindowGone(wl_surface* surface);

    // Listener events (public for the listener tables).
    void Capabilities(std::uint32_t capabilities);
    void PointerEntered(std::uint32_t serial, wl_surface* surface, wl_fixed_t x, wl_fixed_t y);
    void PointerLeft(wl_surface* surface);
    void PointerMoved(wl_fixed_t x, wl_fixed_t y);
    void PointerButton(std::uint32_t serial, std::uint32_t button, std::uint32_t state);
    void TouchDown(std::uint32_t serial, wl_surface* surface, std::int32_t id, wl_fixed_t x,
                   wl_fixed_t y);
    void TouchMoved(std::int32_t id, wl_fixed_t x, wl_fixed_t y);
    void TouchUp(std::int32_t id);
    void TouchCancelled();
    void Keymap(std::uint32_t format, int fd, std::uint32_t size);
    void KeyboardEntered(std::uint32_t serial, wl_surface* surface);
    void KeyboardLeft(wl_surface* surface);
    void Key(std::uint32_t serial, std::uint32_t key, std::uint32_t state);
    void Modifiers(std::uint32_t depressed, std::uint32_t latched, std::uint32_t locked,
                   std::uint32_t group);
    void RepeatInfo(std::int32_t rate, std::int32_t delay);

  private:
    // A point on one of our surfaces (surface coordinates) on the window system's screen.
    std::optional<POINT> ScreenPoint(wl_surface* surface, wl_fixed_t x, wl_fixed_t y) const;
    void ShowCursor(std::uint32_t serial, wl_surface* surface);
    void SendPress(UINT virtualKey, const std::wstring& text);

    std::function<WaylandWindow*(wl_surface*)> windowOf_;
    OwnedProxy<wl_seat> seat_;
    OwnedProxy<wl_pointer> pointer_;
    OwnedProxy<wl_touch> touch_;
    OwnedProxy<wl_keyboard> keyboard_;
    const WaylandGlobals& globals_;
    std::uint32_t lastInputSerial_ = 0;

    // The pointer.
    wl_surface* pointerSurface_ = nullptr;
    wl_fixed_t pointerX_ = 0;
    wl_fixed_t pointerY_ = 0;
    bool buttonDown_ = false;
    POINT lastStylusPoint_{};
    std::unique_ptr<wl_cursor_theme, void (*)(wl_cursor_theme*)> cursorTheme_;
    int cursorScale_ = 0;
    OwnedProxy<wl_surface> cursorSurface_;
    std::optional<std::uint32_t> cursorSerial_;  // of the enter whose cursor is not set yet

    // The finger that is the stylus, and the surface it went down on.
    std::optional<std::int32_t> stylusTouch_;
    wl_surface* touchSurface_ = nullptr;

    // The keyboard.
    // The keyboard's keys, compiled from the latest keymap when first needed.
    XkbKeyboard* Keys();
    std::unique_ptr<XkbKeyboard> keys_;
    std::string pendingKeymap_;
    std::optional<std::array<std::uint32_t, 4>> pendingModifiers_;
    wl_surface* keyboardSurface_ = nullptr;
    std::int32_t repeatRate_ = 25;  // per second; 0: no repeats
    std::int32_t repeatDelay_ = 600;
    std::optional<std::uint32_t> repeatingKey_;
    std::uint32_t nextRepeat_ = 0;
};

}  // namespace platform

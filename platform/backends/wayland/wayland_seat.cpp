// wl_seat, wl_pointer and wl_touch listeners. A point on a surface becomes a screen point
// through the window's place in the window system, so hit-testing matches the picture shown.
#include "platform/backends/wayland/wayland_seat.h"

#include <linux/input-event-codes.h>

#include <cmath>
#include <cstdlib>

#include "platform/backends/wayland/wayland_globals.h"
#include "platform/backends/wayland/wayland_window.h"
#include "platform/backends/xkb/xkb_keyboard.h"
#include "platform/windows/input.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

WaylandSeat& SeatOf(void* data) { return *static_cast<WaylandSeat*>(data); }

void OnCapabilities(void* data, wl_seat* /*seat*/, std::uint32_t capabilities) {
    SeatOf(data).Capabilities(capabilities);
}

void OnSeatName(void* /*data*/, wl_seat* /*seat*/, const char* /*name*/) {}

constexpr wl_seat_listener kSeatListener{OnCapabilities, OnSeatName};

void OnPointerEnter(void* data, wl_pointer* /*pointer*/, std::uint32_t serial, wl_surface* surface,
                    wl_fixed_t x, wl_fixed_t y) {
    SeatOf(data).PointerEntered(serial, surface, x, y);
}

void OnPointerLeave(void* data, wl_pointer* /*pointer*/, std::uint32_t /*serial*/,
                    wl_surface* surface) {
    SeatOf(data).PointerLeft(surface);
}

void OnPointerMotion(void* data, wl_pointer* /*pointer*/, std::uint32_t /*time*/, wl_fixed_t x,
                     wl_fixed_t y) {
    SeatOf(data).PointerMoved(x, y);
}

void OnPointerButton(void* data, wl_pointer* /*pointer*/, std::uint32_t serial,
                     std::uint32_t /*time*/, std::uint32_t button, std::uint32_t state) {
    SeatOf(data).PointerButton(serial, button, state);
}

// Wheels, axis details and frames: the programs scroll by the stylus only.
void OnPointerAxis(void* /*data*/, wl_pointer* /*pointer*/, std::uint32_t /*time*/,
                   std::uint32_t /*axis*/, wl_fixed_t /*value*/) {}
void OnPointerFrame(void* /*data*/, wl_pointer* /*pointer*/) {}
void OnPointerAxisSource(void* /*data*/, wl_pointer* /*pointer*/, std::uint32_t /*source*/) {}
void OnPointerAxisStop(void* /*data*/, wl_pointer* /*pointer*/, std::uint32_t /*time*/,
                       std::uint32_t /*axis*/) {}
void OnPointerAxisDiscrete(void* /*data*/, wl_pointer* /*pointer*/, std::uint32_t /*axis*/,
                           std::int32_t /*discrete*/) {}

// Events of versions above the seat's 5 never come.
constexpr wl_pointer_listener kPointerListener{
    OnPointerEnter, OnPointerLeave,      OnPointerMotion,   OnPointerButton,       OnPointerAxis,
    OnPointerFrame, OnPointerAxisSource, OnPointerAxisStop, OnPointerAxisDiscrete, nullptr};

void OnTouchDown(void* data, wl_touch* /*touch*/, std::uint32_t serial, std::uint32_t /*time*/,
                 wl_surface* surface, std::int32_t id, wl_fixed_t x, wl_fixed_t y) {
    SeatOf(data).TouchDown(serial, surface, id, x, y);
}

void OnTouchUp(void* data, wl_touch* /*touch*/, std::uint32_t /*serial*/, std::uint32_t /*time*/,
               std::int32_t id) {
    SeatOf(data).TouchUp(id);
}

void OnTouchMotion(void* data, wl_touch* /*touch*/, std::uint32_t /*time*/, std::int32_t id,
                   wl_fixed_t x, wl_fixed_t y) {
    SeatOf(data).TouchMoved(id, x, y);
}

void OnTouchFrame(void* /*data*/, wl_touch* /*touch*/) {}

void OnTouchCancel(void* data, wl_touch* /*touch*/) { SeatOf(data).TouchCancelled(); }

constexpr wl_touch_listener kTouchListener{OnTouchDown,   OnTouchUp, OnTouchMotion, OnTouchFrame,
                                           OnTouchCancel, nullptr,   nullptr};

// The size of the pointer in surface coordinates, as themes are drawn for it.
int CursorSize() {
    const char* size = std::getenv("XCURSOR_SIZE");
    const int wanted = size != nullptr ? std::atoi(size) : 0;
    return wanted > 0 && wanted <= 256 ? wanted : 24;
}

}  // namespace

// Listener tables of the keyboard, in wayland_keyboard.cpp.
extern const wl_keyboard_listener kKeyboardListener;

WaylandSeat::WaylandSeat(wl_seat* seat, const WaylandGlobals& globals,
                         std::function<WaylandWindow*(wl_surface*)> windowOf)
    : windowOf_(std::move(windowOf)),
      seat_(seat),
      globals_(globals),
      cursorTheme_(nullptr, wl_cursor_theme_destroy) {
    wl_seat_add_listener(seat, &kSeatListener, this);
}

WaylandSeat::~WaylandSeat() = default;

void WaylandSeat::Capabilities(std::uint32_t capabilities) {
    const bool hasPointer = (capabilities & WL_SEAT_CAPABILITY_POINTER) != 0;
    if (hasPointer && !pointer_) {
        pointer_.reset(wl_seat_get_pointer(seat_.get()));
        wl_pointer_add_listener(pointer_.get(), &kPointerListener, this);
    } else if (!hasPointer && pointer_) {
        pointer_.reset();
        pointerSurface_ = nullptr;
    }
    const bool hasTouch = (capabilities & WL_SEAT_CAPABILITY_TOUCH) != 0;
    if (hasTouch && !touch_) {
        touch_.reset(wl_seat_get_touch(seat_.get()));
        wl_touch_add_listener(touch_.get(), &kTouchListener, this);
    } else if (!hasTouch && touch_) {
        touch_.reset();
        TouchCancelled();
    }
    const bool hasKeyboard = (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
    if (hasKeyboard && !keyboard_) {
        keyboard_.reset(wl_seat_get_keyboard(seat_.get()));
        wl_keyboard_add_listener(keyboard_.get(), &kKeyboardListener, this);
    } else if (!hasKeyboard && keyboard_) {
        keyboard_.reset();
        keyboardSurface_ = nullptr;
        repeatingKey_.reset();
    }
}

std::optional<POINT> WaylandSeat::ScreenPoint(wl_surface* surface, wl_fixed_t x,
                                              wl_fixed_t y) const {
    const WaylandWindow* window = windowOf_(surface);
    if (window == nullptr) return std::nullopt;
    const int scale = window->Scale();
    const auto pixel = [scale](wl_fixed_t value) {
        return static_cast<LONG>(std::floor(wl_fixed_to_double(value) * scale));
    };
    const POINT origin = window->SurfaceOrigin();
    return POINT{origin.x + pixel(x), origin.y + pixel(y)};
}

void WaylandSeat::WindowGone(wl_surface* surface) {
    if (pointerSurface_ == surface) pointerSurface_ = nullptr;
    if (touchSurface_ == surface) {
        touchSurface_ = nullptr;
        stylusTouch_.reset();
    }
    if (keyboardSurface_ == surface) {
        keyboardSurface_ = nullptr;
        repeatingKey_.reset();
    }
}

void WaylandSeat::PointerEntered(std::uint32_t serial, wl_surface* surface, wl_fixed_t x,
                                 wl_fixed_t y) {
    pointerSurface_ = surface;
    pointerX_ = x;
    pointerY_ = y;
    cursorSerial_ = serial;
}

void WaylandSeat::PointerLeft(wl_surface* surface) {
    if (pointerSurface_ != surface) return;
    pointerSurface_ = nullptr;
    cursorSerial_.reset();
}

void WaylandSeat::ShowWaitingCursor() {
    if (!cursorSerial_ || pointerSurface_ == nullptr) return;
    ShowCursor(*cursorSerial_, pointerSurface_);
    cursorSerial_.reset();
}

void WaylandSeat::PointerMoved(wl_fixed_t x, wl_fixed_t y) {
    pointerX_ = x;
    pointerY_ = y;
    // Hover is passed on too: the window system drops moves while the stylus is up.
    if (const std::optional<POINT> point = ScreenPoint(pointerSurface_, x, y);
        point && buttonDown_) {
        lastStylusPoint_ = *point;
        input::StylusMove(*point);
    }
}

void WaylandSeat::PointerButton(std::uint32_t serial, std::uint32_t button, std::uint32_t state) {
    if (button != BTN_LEFT) return;
    lastInputSerial_ = serial;
    if (state == WL_POINTER_BUTTON_STATE_PRESSED) {
        const std::optional<POINT> point = ScreenPoint(pointerSurface_, pointerX_, pointerY_);
        if (!point || buttonDown_ || stylusTouch_) return;
        buttonDown_ = true;
        lastStylusPoint_ = *point;
        input::StylusDown(*point);
    } else if (buttonDown_) {
        // A release always goes through, so the stylus is never left down.
        buttonDown_ = false;
        if (const std::optional<POINT> point = ScreenPoint(pointerSurface_, pointerX_, pointerY_)) {
            lastStylusPoint_ = *point;
        }
        input::StylusUp(lastStylusPoint_);
    }
}

void WaylandSeat::TouchDown(std::uint32_t serial, wl_surface* surface, std::int32_t id,
                            wl_fixed_t x, wl_fixed_t y) {
    // A second finger while the first is down, or a finger while the button is held.
    if (stylusTouch_ || buttonDown_) return;
    const std::optional<POINT> point = ScreenPoint(surface, x, y);
    if (!point) return;
    lastInputSerial_ = serial;
    stylusTouch_ = id;
    touchSurface_ = surface;
    lastStylusPoint_ = *point;
    input::StylusDown(*point);
}

void WaylandSeat::TouchMoved(std::int32_t id, wl_fixed_t x, wl_fixed_t y) {
    if (stylusTouch_ != id) return;
    if (const std::optional<POINT> point = ScreenPoint(touchSurface_, x, y)) {
        lastStylusPoint_ = *point;
        input::StylusMove(*point);
    }
}

void WaylandSeat::TouchUp(std::int32_t id) {
    if (stylusTouch_ != id) return;
    stylusTouch_.reset();
    touchSurface_ = nullptr;
    input::StylusUp(lastStylusPoint_);
}

void WaylandSeat::TouchCancelled() {
    // The compositor took the touch (a gesture of its own): the stylus is lifted where it was.
    if (!stylusTouch_) return;
    stylusTouch_.reset();
    touchSurface_ = nullptr;
    input::StylusUp(lastStylusPoint_);
}

void WaylandSeat::ShowCursor(std::uint32_t serial, wl_surface* surface) {
    const WaylandWindow* window = windowOf_(surface);
    if (window == nullptr || !pointer_) return;
    const int scale = window->Scale();
    if (!cursorTheme_ || cursorScale_ != scale) {
        cursorTheme_.reset(wl_cursor_theme_load(std::getenv("XCURSOR_THEME"), CursorSize() * scale,
                                                globals_.Shm()));
        cursorScale_ = scale;
    }
    if (!cursorTheme_) return;
    wl_cursor* cursor = wl_cursor_theme_get_cursor(cursorTheme_.get(), "default");
    if (cursor == nullptr) cursor = wl_cursor_theme_get_cursor(cursorTheme_.get(), "left_ptr");
    if (cursor == nullptr || cursor->image_count == 0) return;
    wl_cursor_image* image = cursor->images[0];
    wl_buffer* buffer = wl_cursor_image_get_buffer(image);
    if (buffer == nullptr) return;
    if (!cursorSurface_) cursorSurface_.reset(wl_compositor_create_surface(globals_.Compositor()));
    wl_surface* cursorSurface = cursorSurface_.get();
    if (VersionOf(cursorSurface) >= WL_SURFACE_SET_BUFFER_SCALE_SINCE_VERSION) {
        wl_surface_set_buffer_scale(cursorSurface, scale);
    }
    wl_surface_attach(cursorSurface, buffer, 0, 0);
    wl_surface_damage(cursorSurface, 0, 0, static_cast<std::int32_t>(image->width),
                      static_cast<std::int32_t>(image->height));
    wl_surface_commit(cursorSurface);
    wl_pointer_set_cursor(pointer_.get(), serial, cursorSurface,
                          static_cast<std::int32_t>(image->hotspot_x) / scale,
                          static_cast<std::int32_t>(image->hotspot_y) / scale);
}

}  // namespace platform

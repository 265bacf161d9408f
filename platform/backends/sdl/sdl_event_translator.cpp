// SDL event translation. Positions in SDL windows become screen points through the window's
// place in the window system (its record), so hit-testing matches the picture shown even when
// the desktop put the SDL window elsewhere.
#include "platform/backends/sdl/sdl_event_translator.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>

#include "platform/backends/sdl/sdl_display.h"
#include "platform/backends/sdl/sdl_keys.h"
#include "platform/backends/sdl/sdl_window_table.h"
#include "platform/backends/sdl/sdl_x11_windows.h"
#include "platform/backends/shared/session_end.h"
#include "platform/base/text_encoding.h"
#include "platform/windows/input.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

// A normalised finger coordinate (0..1 across the window) as a pixel inside the window. The
// last pixel is included: SDL's X11 driver maps it to exactly 1.
int PixelFromNormalised(float normalised, int size) {
    const int last = std::max(size - 1, 0);
    const auto pixel = static_cast<int>(std::lround(normalised * static_cast<float>(last)));
    return std::clamp(pixel, 0, last);
}

std::uint32_t FocusedSdlWindowId(const SdlWindowTable& windows) {
    if (SDL_Window* active = windows.Find(GetActiveWindow())) return SDL_GetWindowID(active);
    if (SDL_Window* focused = SDL_GetKeyboardFocus()) return SDL_GetWindowID(focused);
    return 0;
}

void TranslateKey(const SDL_KeyboardEvent& event) {
    const UINT virtualKey = VirtualKeyFromSdl(event.keysym);
    if (virtualKey == 0) return;
    // Auto-repeat arrives as further key-downs, as on the original platform.
    if (event.type == SDL_KEYDOWN) {
        input::KeyDown(virtualKey);
    } else {
        input::KeyUp(virtualKey);
    }
}

void TranslateText(const SDL_TextInputEvent& event) {
    for (wchar_t character : WideFromUtf8(static_cast<const char*>(event.text))) {
        input::Character(character);
    }
}

}  // namespace

void SdlEventTranslator::Translate(const SDL_Event& event) {
    switch (event.type) {
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            MouseButton(event.button);
            break;
        case SDL_MOUSEMOTION:
            MouseMotion(event.motion);
            break;
        case SDL_FINGERDOWN:
        case SDL_FINGERMOTION:
        case SDL_FINGERUP:
            Touch(event.tfinger);
            break;
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            TranslateKey(event.key);
            break;
        case SDL_TEXTINPUT:
            TranslateText(event.text);
            break;
        case SDL_WINDOWEVENT:
            Window(event.window);
            break;
        case SDL_DISPLAYEVENT:
            display_.Check();
            break;
        case SDL_SYSWMEVENT:
            if (!display_.Handle(event)) HandleX11WindowEvent(event, windows_);
            break;
        case SDL_QUIT:
            EndSession();
            break;
        default:
            break;
    }
}

std::optional<POINT> SdlEventTranslator::ScreenPoint(std::uint32_t sdlWindowId, int x, int y) {
    const WindowRecord* record = FindWindowRecord(windows_.OwnerOf(sdlWindowId));
    if (record == nullptr) return std::nullopt;
    return POINT{record->rect.left + x, record->rect.top + y};
}

void SdlEventTranslator::Stylus(StylusAction action, std::uint32_t sdlWindowId, int x, int y) {
    const std::optional<POINT> point = ScreenPoint(sdlWindowId, x, y);
    if (point) lastStylusPoint_ = *point;
    switch (action) {
        case StylusAction::Down:
            if (point) input::StylusDown(*point);
            break;
        case StylusAction::Move:
            if (point) input::StylusMove(*point);
            break;
        case StylusAction::Up:
            // A release always goes through, so the stylus is never left down.
            input::StylusUp(lastStylusPoint_);
            break;
    }
}

void SdlEventTranslator::MouseButton(const SDL_MouseButtonEvent& event) {
    // Touches arrive as touch events; SDL's mouse copies of them would count twice.
    if (event.which == SDL_TOUCH_MOUSEID || event.button != SDL_BUTTON_LEFT) return;
    Stylus(event.type == SDL_MOUSEBUTTONDOWN ? StylusAction::Down : StylusAction::Up,
           event.windowID, event.x, event.y);
}

void SdlEventTranslator::MouseMotion(const SDL_MouseMotionEvent& event) {
    // Hover is passed on too: the window system drops moves while the stylus is up.
    if (event.which == SDL_TOUCH_MOUSEID) return;
    Stylus(StylusAction::Move, event.windowID, event.x, event.y);
}

void SdlEventTranslator::Touch(const SDL_TouchFingerEvent& event) {
    const bool isStylusFinger = stylusFinger_ && stylusFinger_->touch == event.touchId &&
                                stylusFinger_->finger == event.fingerId;
    if (event.type == SDL_FINGERDOWN) {
        if (stylusFinger_) return;  // a second finger while the first is down
        stylusFinger_ = Finger{event.touchId, event.fingerId};
    } else if (!isStylusFinger) {
        return;
    }
    const std::uint32_t sdlWindowId =
        event.windowID != 0 ? event.windowID : FocusedSdlWindowId(windows_);
    int x = 0;
    int y = 0;
    if (SDL_Window* window = SDL_GetWindowFromID(sdlWindowId)) {
        int width = 0;
        int height = 0;
        SDL_GetWindowSize(window, &width, &height);
        x = PixelFromNormalised(event.x, width);
        y = PixelFromNormalised(event.y, height);
    }
    if (event.type == SDL_FINGERUP) stylusFinger_.reset();
    const StylusAction action = event.type == SDL_FINGERDOWN ? StylusAction::Down
                                : event.type == SDL_FINGERUP ? StylusAction::Up
                                                             : StylusAction::Move;
    Stylus(action, sdlWindowId, x, y);
}

void SdlEventTranslator::Window(const SDL_WindowEvent& event) {
    const HWND hwnd = windows_.OwnerOf(event.windowID);
    if (hwnd == nullptr) return;
    switch (event.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            input::ActivationChanged(hwnd, true);
            break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            input::ActivationChanged(hwnd, false);
            break;
        case SDL_WINDOWEVENT_CLOSE:
            PostMessage(hwnd, WM_CLOSE, 0, 0);
            break;
        case SDL_WINDOWEVENT_SHOWN:
        case SDL_WINDOWEVENT_EXPOSED:
            windows_.RequestFullPresent(hwnd);
            break;
        case SDL_WINDOWEVENT_RESIZED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            windows_.RequestFullPresent(hwnd);
            display_.Check();
            // A window manager or another client resized it: the window takes the new size.
            if (SDL_Window* window = windows_.Find(hwnd)) {
                input::WindowResized(hwnd, ActualWindowSize(window));
            }
            break;
        case SDL_WINDOWEVENT_DISPLAY_CHANGED:
            display_.Check();
            break;
        default:
            break;
    }
}

}  // namespace platform

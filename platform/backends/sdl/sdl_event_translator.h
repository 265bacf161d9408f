// Turns SDL events into the window system's input: stylus, keys, text, focus, closing, and
// requests to show a window's picture again.
#pragma once

#include <SDL_events.h>

#include <optional>

#include "platform/base/win_types.h"

namespace platform {

class SdlWindowTable;
class SdlDisplayWatcher;

class SdlEventTranslator {
  public:
    SdlEventTranslator(SdlWindowTable& windows, SdlDisplayWatcher& display)
        : windows_(windows), display_(display) {}

    void Translate(const SDL_Event& event);

  private:
    struct Finger {
        SDL_TouchID touch = 0;
        SDL_FingerID finger = 0;
    };

    void MouseButton(const SDL_MouseButtonEvent& event);
    void MouseMotion(const SDL_MouseMotionEvent& event);
    void Touch(const SDL_TouchFingerEvent& event);
    void Window(const SDL_WindowEvent& event);

    // A point in an SDL window as a screen point of the window system.
    std::optional<POINT> ScreenPoint(std::uint32_t sdlWindowId, int x, int y);
    enum class StylusAction { Down, Move, Up };
    void Stylus(StylusAction action, std::uint32_t sdlWindowId, int x, int y);

    SdlWindowTable& windows_;
    SdlDisplayWatcher& display_;
    // The finger acting as the stylus: the one that touched while no other did.
    std::optional<Finger> stylusFinger_;
    // Where the stylus was last seen, for a release reported without a window.
    POINT lastStylusPoint_{};
};

}  // namespace platform

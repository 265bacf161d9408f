// On X11, SDL does not report a change of the screen's size (a rotation or a new resolution).
// This watch asks the X server to tell when the root window changes its size and turns that into
// a display change of the window system.
#pragma once

#include <SDL.h>

namespace platform {

class X11ScreenWatch {
  public:
    // Starts watching through the connection of an SDL window, once; nothing on other drivers.
    void Start(SDL_Window* window);
    // Looks at an event SDL passed through from the window system; true when it was the screen's.
    bool Handle(const SDL_Event& event);
    bool Watching() const { return started_; }

  private:
    bool started_ = false;
    unsigned long root_ = 0;
};

}  // namespace platform

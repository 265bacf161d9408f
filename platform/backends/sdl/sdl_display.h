// The display as SDL sees it, and the watch that tells the window system when its size changes.
#pragma once

#include <optional>

#include "platform/backends/sdl/sdl_x11_screen.h"
#include "platform/backends/shared/density.h"
#include "platform/base/system_metrics.h"

namespace platform {

// The desktop of SDL's first display; nullopt when SDL cannot tell.
std::optional<DisplayInfo> QueryDesktopDisplay();

class SdlDisplayWatcher {
  public:
    // Compares the desktop with the window system's display and reports a new size once. Cheap
    // enough to call on every wake.
    void Check();
    // Watches the screen through the window system behind an SDL window, where SDL itself does
    // not notice size changes (X11); from then on that watch decides.
    void WatchScreenOf(SDL_Window* window) { x11_.Start(window); }
    // An event the window system passed through SDL; true when it told of the screen.
    bool Handle(const SDL_Event& event) { return x11_.Handle(event); }

  private:
    X11ScreenWatch x11_;
    // A size already reported but not yet taken from the queue by the window system.
    std::optional<DisplayInfo> announced_;
};

}  // namespace platform

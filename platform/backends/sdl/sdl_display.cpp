// Reading SDL's desktop mode and density, and reporting display size changes.
#include "platform/backends/sdl/sdl_display.h"

#include <SDL.h>

#include "platform/backends/shared/density.h"
#include "platform/windows/input.h"

namespace platform {

std::optional<DisplayInfo> QueryDesktopDisplay() {
    SDL_DisplayMode mode{};
    if (SDL_GetDesktopDisplayMode(0, &mode) != 0 || mode.w <= 0 || mode.h <= 0) {
        return std::nullopt;
    }
    float horizontalDotsPerInch = 0.0F;
    if (SDL_GetDisplayDPI(0, nullptr, &horizontalDotsPerInch, nullptr) != 0) {
        horizontalDotsPerInch = 0.0F;
    }
    return DisplayInfo{mode.w, mode.h, SaneDotsPerInch(horizontalDotsPerInch)};
}

void SdlDisplayWatcher::Check() {
    // SDL's idea of the desktop is stale on X11; the X server's own report is used there.
    if (x11_.Watching()) return;
    const std::optional<DisplayInfo> desktop = QueryDesktopDisplay();
    if (!desktop) return;
    if (desktop->SameSize(CurrentDisplay())) {
        announced_.reset();
        return;
    }
    if (announced_ && announced_->SameSize(*desktop)) return;
    announced_ = desktop;
    input::DisplayChanged(*desktop);
}

}  // namespace platform

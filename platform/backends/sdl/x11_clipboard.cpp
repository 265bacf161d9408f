#include "platform/backends/sdl/x11_clipboard.h"

#include <SDL_syswm.h>
#include <X11/Xlib.h>

#include <cstring>

namespace platform {

std::optional<X11ClipboardSelection> ClipboardSelectionOf(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (window == nullptr || driver == nullptr || std::strcmp(driver, "x11") != 0) {
        return std::nullopt;
    }
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_X11) {
        return std::nullopt;
    }
    Display* display = info.info.x11.display;
    return X11ClipboardSelection{
        DisplayString(display),
        XGetSelectionOwner(display, XInternAtom(display, "CLIPBOARD", False))};
}

}  // namespace platform

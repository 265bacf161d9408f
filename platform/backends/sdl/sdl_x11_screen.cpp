#include "platform/backends/sdl/sdl_x11_screen.h"

#include <SDL_syswm.h>

#include <cstring>

#include "platform/base/system_metrics.h"
#include "platform/windows/input.h"

namespace platform {

void X11ScreenWatch::Start(SDL_Window* window) {
    if (started_ || window == nullptr) return;
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "x11") != 0) return;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_X11) return;
    Display* display = info.info.x11.display;
    const Window root = DefaultRootWindow(display);
    // Keep whatever SDL itself selected on the root window, and add size changes.
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, root, &attributes);
    XSelectInput(display, root, attributes.your_event_mask | StructureNotifyMask);
    XFlush(display);
    SDL_EventState(SDL_SYSWMEVENT, SDL_ENABLE);
    root_ = root;
    started_ = true;
}

bool X11ScreenWatch::Handle(const SDL_Event& event) {
    if (!started_ || event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr ||
        event.syswm.msg->subsystem != SDL_SYSWM_X11) {
        return false;
    }
    const XEvent& xevent = event.syswm.msg->msg.x11.event;
    if (xevent.type != ConfigureNotify || xevent.xconfigure.window != root_) return false;
    const DisplayInfo& current = CurrentDisplay();
    if (xevent.xconfigure.width == current.width && xevent.xconfigure.height == current.height) {
        return true;
    }
    input::DisplayChanged(
        DisplayInfo{xevent.xconfigure.width, xevent.xconfigure.height, current.dotsPerInch});
    return true;
}

}  // namespace platform

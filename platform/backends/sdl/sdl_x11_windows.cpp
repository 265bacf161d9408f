#include "platform/backends/sdl/sdl_x11_windows.h"

#include <SDL_syswm.h>

#include <cstdio>
#include <cstring>

#include "platform/backends/sdl/sdl_window_table.h"
#include "platform/windows/window_api.h"

namespace platform {
namespace {

bool OnX11() {
    const char* driver = SDL_GetCurrentVideoDriver();
    return driver != nullptr && std::strcmp(driver, "x11") == 0;
}

bool X11Info(SDL_Window* window, SDL_SysWMinfo* info) {
    if (window == nullptr || !OnX11()) return false;
    SDL_VERSION(&info->version);
    return SDL_GetWindowWMInfo(window, info) == SDL_TRUE && info->subsystem == SDL_SYSWM_X11;
}

int IgnoreError(Display* display, XErrorEvent* error) {
    // A window another client destroyed keeps drawing until its close is handled: the same
    // error then comes again and again.
    static bool reported = false;
    if (!reported) {
        char text[128] = {};
        XGetErrorText(display, error->error_code, text, sizeof(text));
        std::fprintf(stderr, "X error ignored: %s (request %d)\n", text, error->request_code);
        reported = true;
    }
    return 0;
}

}  // namespace

void KeepAliveOnX11Errors() {
    if (OnX11()) XSetErrorHandler(IgnoreError);
}

SIZE ActualWindowSize(SDL_Window* window) {
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window, &width, &height);
    SDL_SysWMinfo info;
    if (X11Info(window, &info)) {
        Window root = 0;
        int x = 0;
        int y = 0;
        unsigned int serverWidth = 0;
        unsigned int serverHeight = 0;
        unsigned int border = 0;
        unsigned int depth = 0;
        if (XGetGeometry(info.info.x11.display, info.info.x11.window, &root, &x, &y, &serverWidth,
                         &serverHeight, &border, &depth) != 0) {
            width = static_cast<int>(serverWidth);
            height = static_cast<int>(serverHeight);
        }
    }
    return SIZE{width, height};
}

bool HandleX11WindowEvent(const SDL_Event& event, SdlWindowTable& windows) {
    if (event.type != SDL_SYSWMEVENT || event.syswm.msg == nullptr ||
        event.syswm.msg->subsystem != SDL_SYSWM_X11) {
        return false;
    }
    const XEvent& xevent = event.syswm.msg->msg.x11.event;
    if (xevent.type != DestroyNotify) return false;
    for (HWND hwnd : windows.Windows()) {
        SDL_SysWMinfo info;
        if (X11Info(windows.Find(hwnd), &info) &&
            info.info.x11.window == xevent.xdestroywindow.window) {
            // Destroying an SDL window hides it first, and SDL waits for the server to report it
            // unmapped, which it never will of a window that is gone: the report is made up.
            XEvent unmapped{};
            unmapped.xunmap.type = UnmapNotify;
            unmapped.xunmap.display = info.info.x11.display;
            unmapped.xunmap.event = unmapped.xunmap.window = info.info.x11.window;
            XPutBackEvent(info.info.x11.display, &unmapped);
            // The window goes from the table at once, and comes anew if it is shown again. The
            // server's complaint about destroying it again is taken now, while errors are ours to
            // handle: at its end SDL hands them back to Xlib's default, which exits.
            Display* display = info.info.x11.display;
            windows.Remove(hwnd);
            XSync(display, False);
            PostMessage(hwnd, WM_CLOSE, 0, 0);
            return true;
        }
    }
    return false;
}

}  // namespace platform

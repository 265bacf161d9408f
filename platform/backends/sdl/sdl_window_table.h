// The SDL windows that show the top-level windows, one each, kept in line with their records.
#pragma once

#include <SDL_video.h>

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/backends/wayland/wayland_shm_presenter.h"
#include "platform/base/win_types.h"

namespace platform {

struct SdlWindowDeleter {
    void operator()(SDL_Window* window) const noexcept { SDL_DestroyWindow(window); }
};
using SdlWindowPointer = std::unique_ptr<SDL_Window, SdlWindowDeleter>;

class SdlWindowTable {
  public:
    // Creates, titles, places, sizes, shows or hides the SDL window of a top-level window as
    // its record says. The SDL window is created when the window is first shown.
    void Sync(HWND hwnd);
    void Remove(HWND hwnd);

    SDL_Window* Find(HWND hwnd) const;
    // The wl_shm presenter of a window on Wayland; nullptr elsewhere, and where the compositor
    // offers no wl_shm (SDL's window surface is used then).
    WaylandShmPresenter* WaylandPresenterOf(HWND hwnd) const;
    // The top-level windows of the table, in no particular order.
    std::vector<HWND> Windows() const;
    // Any SDL window of the table; nullptr while there is none.
    SDL_Window* AnyWindow() const;
    // The top-level window an SDL window shows; nullptr for windows that are not ours.
    HWND OwnerOf(std::uint32_t sdlWindowId) const;

    // SDL lost or never had the window's picture (exposed, resized, surface recreated): the
    // next present copies the whole surface.
    void RequestFullPresent(HWND hwnd);
    std::vector<HWND> WindowsWaitingForFullPresent() const;
    // Whether the present about to happen must cover the whole surface; clears the request.
    // `target` is the SDL surface it goes to: a surface SDL replaced needs everything again.
    bool TakeFullPresent(HWND hwnd, const void* target);

  private:
    struct Entry {
        SdlWindowPointer window;
        std::string title;
        bool alwaysOnTop = false;
        bool shown = false;
        bool needsFullPresent = true;
        const void* lastTarget = nullptr;
        HICON icon = nullptr;
        // Declared after the window: its buffers go before SDL destroys the surface.
        std::unique_ptr<WaylandShmPresenter> wayland;
    };

    std::map<HWND, Entry> entries_;
};

}  // namespace platform

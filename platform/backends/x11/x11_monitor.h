// The monitor that is the programs' screen: RandR's monitor under the pointer when the program
// starts, the root window's whole area on servers without RandR 1.5 monitors.
#pragma once

#include <xcb/xcb.h>

#include <optional>
#include <vector>

#include "platform/base/win_types.h"

namespace platform {

class X11Connection;

struct X11Monitor {
    xcb_atom_t name = XCB_ATOM_NONE;  // RandR's name of it; none for the root's area
    bool primary = false;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;

    bool SameArea(const X11Monitor& other) const {
        return x == other.x && y == other.y && width == other.width && height == other.height;
    }
};

// The one of `monitors` holding `pointer`, else the primary, else the first; nullopt for none.
std::optional<X11Monitor> ChooseMonitor(const std::vector<X11Monitor>& monitors, POINT pointer);

class X11Monitors {
  public:
    explicit X11Monitors(const X11Connection& connection);

    // The monitor under the pointer now (one round trip).
    X11Monitor UnderPointer() const;
    // The monitor named `name` as the server has it now; nullopt once it is gone.
    std::optional<X11Monitor> Named(xcb_atom_t name) const;
    // The root window's new size, which the connection's setup data does not follow.
    void RootResized(int width, int height) { rootSize_ = SIZE{width, height}; }

  private:
    std::vector<X11Monitor> List() const;
    X11Monitor RootArea() const;

    const X11Connection& connection_;
    bool hasMonitors_ = false;  // RandR 1.5 or later
    SIZE rootSize_{};
};

}  // namespace platform

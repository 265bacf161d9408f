// The connection to the X server: the screen we show windows on, the atoms we speak in, and the
// extensions the server offers (shared memory, XKB, XInput 2).
#pragma once

#include <xcb/xcb.h>

#include <memory>
#include <string>

namespace platform {

struct XcbFree {
    void operator()(void* reply) const;
};
// A reply or event of xcb's, freed with the object.
template <typename Reply>
using XcbReply = std::unique_ptr<Reply, XcbFree>;

struct X11Atoms {
    xcb_atom_t wmProtocols = 0;
    xcb_atom_t wmDeleteWindow = 0;
    xcb_atom_t wmTakeFocus = 0;
    xcb_atom_t netWmPing = 0;
    xcb_atom_t netWmName = 0;
    xcb_atom_t netWmPid = 0;
    xcb_atom_t netWmWindowType = 0;
    xcb_atom_t netWmWindowTypeDialog = 0;
    xcb_atom_t netWmWindowTypeNormal = 0;
    xcb_atom_t netWmState = 0;
    xcb_atom_t netWmStateAbove = 0;
    xcb_atom_t netActiveWindow = 0;
    xcb_atom_t netSupportingWmCheck = 0;
    xcb_atom_t motifWmHints = 0;
    xcb_atom_t utf8String = 0;
    xcb_atom_t clipboard = 0;
    xcb_atom_t targets = 0;
    xcb_atom_t incr = 0;
    xcb_atom_t text = 0;
    xcb_atom_t selectionProperty = 0;  // where a selection's owner puts what we asked for
};

class X11Connection {
  public:
    // Connects to `displayName` (nullptr: $DISPLAY). nullptr, with the reason in *error, when
    // there is no server or its screen is not one we can draw for (24-bit true colour, 32 bits
    // a pixel).
    static std::unique_ptr<X11Connection> Open(const char* displayName, std::string* error);
    ~X11Connection();
    X11Connection(const X11Connection&) = delete;
    X11Connection& operator=(const X11Connection&) = delete;

    xcb_connection_t* Get() const { return connection_; }
    xcb_screen_t* Screen() const { return screen_; }
    xcb_window_t Root() const { return screen_->root; }
    const X11Atoms& Atoms() const { return atoms_; }
    const std::string& DisplayName() const { return displayName_; }
    bool HasSharedMemory() const { return sharedMemory_; }
    // The largest request the server takes, in bytes.
    std::size_t MaximumRequestBytes() const;
    // Whether a window manager runs (it announces itself on the root window).
    bool WindowManagerRuns() const;
    // Xft.dpi of the server's resources (what desktops set for a dense screen), else 96.
    int DotsPerInch() const;

  private:
    X11Connection() = default;

    xcb_connection_t* connection_ = nullptr;
    xcb_screen_t* screen_ = nullptr;
    X11Atoms atoms_;
    std::string displayName_;
    bool sharedMemory_ = false;
};

}  // namespace platform

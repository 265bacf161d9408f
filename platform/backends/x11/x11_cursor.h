// The cursor theme's default pointer over our windows (without one, a bare X server shows its
// cross). Loaded once the first picture is out, so that start-up does not wait for the theme.
#pragma once

#include <xcb/xcb.h>

#include "platform/backends/x11/x11_connection.h"

struct xcb_cursor_context_t;

namespace platform {

class X11Cursor {
  public:
    explicit X11Cursor(const X11Connection& connection) : connection_(connection) {}
    ~X11Cursor();
    X11Cursor(const X11Cursor&) = delete;
    X11Cursor& operator=(const X11Cursor&) = delete;

    // Loads the pointer if it is not loaded yet; XCB_NONE when the theme has none.
    xcb_cursor_t Load();
    // The pointer once loaded, else XCB_NONE (the parent's).
    xcb_cursor_t Loaded() const { return cursor_; }
    bool Tried() const { return tried_; }
    void ShowOn(xcb_window_t window) const;

  private:
    const X11Connection& connection_;
    xcb_cursor_context_t* context_ = nullptr;
    xcb_cursor_t cursor_ = XCB_NONE;
    bool tried_ = false;
};

}  // namespace platform

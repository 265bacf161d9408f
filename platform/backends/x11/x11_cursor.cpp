// The theme's pointer through xcb-cursor.
#include "platform/backends/x11/x11_cursor.h"

#include <xcb/xcb_cursor.h>

namespace platform {

X11Cursor::~X11Cursor() {
    if (cursor_ != XCB_NONE) xcb_free_cursor(connection_.Get(), cursor_);
    if (context_ != nullptr) xcb_cursor_context_free(context_);
}

xcb_cursor_t X11Cursor::Load() {
    if (tried_) return cursor_;
    tried_ = true;
    if (xcb_cursor_context_new(connection_.Get(), connection_.Screen(), &context_) < 0) {
        context_ = nullptr;
        return XCB_NONE;
    }
    cursor_ = xcb_cursor_load_cursor(context_, "left_ptr");
    return cursor_;
}

void X11Cursor::ShowOn(xcb_window_t window) const {
    if (cursor_ == XCB_NONE) return;
    xcb_change_window_attributes(connection_.Get(), window, XCB_CW_CURSOR, &cursor_);
}

}  // namespace platform

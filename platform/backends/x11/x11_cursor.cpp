// The theme's pointer through xcb-cursor, loaded with dlopen once the first picture is out: its
// library and the four it needs stay out of start-up.
#include "platform/backends/x11/x11_cursor.h"

#include <dlfcn.h>
#include <xcb/xcb_cursor.h>

#include <optional>

#include "platform/base/library_symbols.h"

namespace platform {
namespace {

struct CursorLibrary {
    decltype(&xcb_cursor_context_new) contextNew = nullptr;
    decltype(&xcb_cursor_load_cursor) loadCursor = nullptr;
    decltype(&xcb_cursor_context_free) contextFree = nullptr;
};

// Kept for the life of the process; null when the library cannot be loaded.
const CursorLibrary* Library() {
    static const std::optional<CursorLibrary> loaded = []() -> std::optional<CursorLibrary> {
        void* library = ::dlopen("libxcb-cursor.so.0", RTLD_NOW | RTLD_LOCAL);
        if (library == nullptr) return std::nullopt;
        CursorLibrary functions;
        if (!FindSymbol(library, "xcb_cursor_context_new", &functions.contextNew) ||
            !FindSymbol(library, "xcb_cursor_load_cursor", &functions.loadCursor) ||
            !FindSymbol(library, "xcb_cursor_context_free", &functions.contextFree)) {
            return std::nullopt;
        }
        return functions;
    }();
    return loaded ? &*loaded : nullptr;
}

}  // namespace

X11Cursor::~X11Cursor() {
    if (cursor_ != XCB_NONE) xcb_free_cursor(connection_.Get(), cursor_);
    if (context_ != nullptr) Library()->contextFree(context_);
}

xcb_cursor_t X11Cursor::Load() {
    if (tried_) return cursor_;
    tried_ = true;
    const CursorLibrary* library = Library();
    if (library == nullptr ||
        library->contextNew(connection_.Get(), connection_.Screen(), &context_) < 0) {
        context_ = nullptr;
        return XCB_NONE;
    }
    cursor_ = library->loadCursor(context_, "left_ptr");
    return cursor_;
}

void X11Cursor::ShowOn(xcb_window_t window) const {
    if (cursor_ == XCB_NONE) return;
    xcb_change_window_attributes(connection_.Get(), window, XCB_CW_CURSOR, &cursor_);
}

}  // namespace platform

// Who owns the CLIPBOARD selection on SDL's X11 connection: another program's text is read by
// x11_clipboard_reader (SDL 2.26 reads no chunked text and, on a timeout, empties the clipboard).
#pragma once

#include <SDL_video.h>

#include <optional>
#include <string>

#include "platform/backends/x11/x11_clipboard_reader.h"

namespace platform {

// SDL's X11 connection, as seen through one of its windows: the display's name, and the window
// that owns the CLIPBOARD selection now (asked over that connection, so after SDL's own
// requests; 0 when nobody does). nullopt where SDL does not run on X11.
struct X11ClipboardSelection {
    std::string displayName;
    unsigned long clipboardOwner = 0;
};
std::optional<X11ClipboardSelection> ClipboardSelectionOf(SDL_Window* window);

}  // namespace platform

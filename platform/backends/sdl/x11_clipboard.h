// The CLIPBOARD selection's text as another X11 program offers it, read over a connection of our
// own: in one piece, or in the INCR protocol's chunks, which large texts come in (SDL 2.26 reads
// neither a chunked text nor, on a timeout, leaves the clipboard alone).
#pragma once

#include <SDL_video.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace platform {

// The text (UTF-8) of the selection's owner on `displayName`, up to `limit` bytes; nullopt when
// there is no owner or none answers before `timeout`.
std::optional<std::string> ReadX11ClipboardText(const std::string& displayName,
                                                std::chrono::milliseconds timeout,
                                                std::size_t limit);

// SDL's X11 connection, as seen through one of its windows: the display's name, and the window
// that owns the CLIPBOARD selection now (asked over that connection, so after SDL's own
// requests; 0 when nobody does). nullopt where SDL does not run on X11.
struct X11ClipboardSelection {
    std::string displayName;
    unsigned long clipboardOwner = 0;
};
std::optional<X11ClipboardSelection> ClipboardSelectionOf(SDL_Window* window);

}  // namespace platform

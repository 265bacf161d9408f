// Our text on the CLIPBOARD selection: owned through a hidden window of our own while the
// program runs, given to each requestor as UTF8_STRING (in INCR chunks when it is too large for
// one request), and other programs' text read as a requestor.
#pragma once

#include <xcb/xcb.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/backends/x11/x11_connection.h"

namespace platform {

class X11Clipboard {
  public:
    explicit X11Clipboard(const X11Connection& connection);
    ~X11Clipboard();
    X11Clipboard(const X11Clipboard&) = delete;
    X11Clipboard& operator=(const X11Clipboard&) = delete;

    void SetText(std::string text);
    // Ours while we own the selection, else the owner's (waiting a moment at most).
    std::optional<std::string> Text();
    // Selection requests, a lost ownership and the property deletions of chunked transfers;
    // true when the event was one of those.
    bool HandleEvent(const xcb_generic_event_t& event);

  private:
    struct Transfer {  // an INCR transfer under way
        xcb_window_t requestor;
        xcb_atom_t property;
        std::size_t sent;
    };
    void Answer(const xcb_selection_request_event_t& request);
    // Sends the next chunk of a transfer; false once its closing empty chunk went.
    bool SendChunk(Transfer& transfer);

    const X11Connection& connection_;
    xcb_window_t window_;
    std::optional<std::string> text_;  // while we own the selection
    std::vector<Transfer> transfers_;
};

}  // namespace platform

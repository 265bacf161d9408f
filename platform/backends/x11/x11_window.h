// One shown top-level window as an X window: its properties for the window manager (names,
// class, type, no decorations, kept above, placed exactly), mapping and moving it with the
// window's record, and its picture.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/backends/x11/x11_connection.h"
#include "platform/backends/x11/x11_presenter.h"
#include "platform/base/win_types.h"

namespace platform {

struct WindowRecord;

class X11Window {
  public:
    // Creates and maps the X window of a window about to be shown, its rectangle taken from
    // `origin` (the monitor's corner on the root); `owner` is the X window of the one it
    // belongs to (a message box's dialog), 0 for none.
    // Without a window manager it takes the keyboard itself once it is on screen, as nobody
    // else hands it over.
    static std::unique_ptr<X11Window> Create(const X11Connection& connection,
                                             const WindowRecord& record, POINT origin,
                                             xcb_window_t owner, const std::string& programName,
                                             bool windowManagerRuns);
    ~X11Window();
    X11Window(const X11Window&) = delete;
    X11Window& operator=(const X11Window&) = delete;

    // Follows the record: title, place (from `origin`) and size.
    void Sync(const WindowRecord& record, POINT origin);
    // Shows `dirty` of the picture; before the window is on screen only remembers to show all
    // of it once it is.
    void Present(const Surface& picture, const RECT& dirty);
    // Whether the whole picture went out after the server made an Expose event with this
    // sequence number: the picture then covers what the event asks for.
    bool ExposeAnswered(std::uint16_t exposeSequence) const;
    // The server reports the window mapped: its picture can show from now on.
    void MapReported();
    // Another client destroyed the window; nothing may be sent for it any more.
    void Destroyed() { destroyed_ = true; }
    // Asks for the keyboard: from the window manager where one runs, from the server itself
    // once the window is on screen.
    void TakeFocus(bool windowManagerRuns);

    HWND Handle() const { return hwnd_; }
    xcb_window_t Id() const { return id_; }
    bool Mapped() const { return mapped_; }
    SIZE Size() const { return size_; }
    // The size the window manager gave; the record follows it.
    void SizeGiven(SIZE size) { size_ = size; }

  private:
    X11Window(const X11Connection& connection, HWND hwnd, xcb_window_t id);
    void SetProperties(const WindowRecord& record, xcb_window_t owner,
                       const std::string& programName);
    void SetTitle(const std::string& title);

    const X11Connection& connection_;
    HWND hwnd_;
    xcb_window_t id_;
    std::unique_ptr<X11Presenter> presenter_;
    std::string title_;
    RECT placed_{};  // on the root window
    SIZE size_{};
    bool mapped_ = false;
    bool focusOnMap_ = false;
    bool destroyed_ = false;
    std::optional<unsigned int> wholePictureRequest_;  // the latest picture of the whole window
};

// Whether an event that carries the low 16 bits of the last request the server had handled
// came before the request with this full sequence number (within 32768 requests of it).
bool EventBeforeRequest(std::uint16_t eventSequence, unsigned int request);

}  // namespace platform

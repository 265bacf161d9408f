// Backend: the only code that talks to the outside world (a real screen, or the headless test
// screen). The window system calls it to show top-level windows and to wait for input; it feeds
// input back through platform/windows/input.h.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/base/win_types.h"

namespace platform {

class Backend {
  public:
    virtual ~Backend() = default;

    // Milliseconds since an arbitrary start; wraps at 2^32.
    virtual std::uint32_t TickCount() = 0;

    // A top-level window appeared, changed (moved, resized, shown, hidden, restyled) or went away.
    virtual void TopLevelChanged(HWND window) = 0;
    virtual void TopLevelDestroyed(HWND window) = 0;
    // Shows `dirty` (window coordinates) of the window's surface on screen, in one transfer.
    virtual void Present(HWND window, const RECT& dirty) = 0;
    // Makes the window the one that receives keys (as far as the outside world allows).
    virtual void RequestForeground(HWND window) = 0;

    // Waits at most `timeoutMs` (negative: without limit) for outside events and feeds them in.
    // Returns false when no event can ever come (the caller then ends its loop).
    virtual bool WaitForEvents(int timeoutMs) = 0;

    // Whether windows can be shown at all; without a screen, message boxes fall back to
    // standard error.
    virtual bool CanShowWindows() { return true; }
    // A message box is about to show. A backend that answers for the user (a test's) returns the
    // result, and the box closes with it unseen.
    virtual std::optional<int> MessageBoxOpened(HWND /*box*/, const std::wstring& /*text*/,
                                                const std::wstring& /*caption*/, UINT /*type*/) {
        return std::nullopt;
    }

    // The system clipboard's text, shared with other programs. Without a clipboard, nothing is
    // kept and the clipboard reads as empty.
    virtual void SetClipboardText(const std::wstring& /*text*/) {}
    virtual std::wstring ClipboardText() { return {}; }

    // Entries ("NAME=value") for the environment of a program about to be started, such as a
    // startup token by which the desktop gives the new program the focus.
    virtual std::vector<std::string> StartupEnvironment() { return {}; }
};

// The backend in use. Without one, the window system works on a headless screen whose clock
// stands still, which is enough for windows that are created, drawn and destroyed.
Backend* CurrentBackend();
// Replaces the backend; the previous one is destroyed. Windows that still exist are destroyed
// first, so that no window outlives the screen it was shown on.
void InstallBackend(std::unique_ptr<Backend> backend);

}  // namespace platform

// The headless backend: a screen that exists only in memory, a tick clock that the caller
// advances, and message boxes that are recorded and answered (or left to the test to play).
// Tests drive windows with it.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/base/system_metrics.h"
#include "platform/windows/backend.h"
#include "platform/windows/messages.h"

namespace platform {

struct RecordedMessageBox {
    HWND box = nullptr;  // the box's window, alive until it is answered
    HWND owner = nullptr;
    std::wstring text;
    std::wstring caption;
    UINT type = 0;
};

class HeadlessBackend final : public Backend {
  public:
    explicit HeadlessBackend(const DisplayInfo& display);

    std::uint32_t TickCount() override { return clock_; }
    void AdvanceClock(std::uint32_t milliseconds) { clock_ += milliseconds; }
    void SetClock(std::uint32_t milliseconds) { clock_ = milliseconds; }

    void TopLevelChanged(HWND) override {}
    void TopLevelDestroyed(HWND) override {}
    void Present(HWND window, const RECT& dirty) override;
    void RequestForeground(HWND window) override { foreground = window; }

    // A loop waiting for events first asks `onIdle` (a test's script of input) for more; without
    // a script, waiting for a timer lets the clock run to it, and waiting for nothing ends the
    // loop.
    bool WaitForEvents(int timeoutMs) override;
    // Records the box; unless `answerMessageBoxes` is off, answers it at once with
    // `messageBoxAnswer` (the box then never shows). A test that plays the box itself turns the
    // answering off and drives the box through `onIdle`.
    std::optional<int> MessageBoxOpened(HWND box, const std::wstring& text,
                                        const std::wstring& caption, UINT type) override;
    // The clipboard is `clipboard`, which tests may read and fill.
    void SetClipboardText(const std::wstring& text) override { clipboard = text; }
    std::wstring ClipboardText() override { return clipboard; }

    std::function<bool()> onIdle;
    std::vector<RecordedMessageBox> messageBoxes;
    bool answerMessageBoxes = true;
    int messageBoxAnswer = IDOK;
    int presentCount = 0;
    HWND foreground = nullptr;
    std::wstring clipboard;

  private:
    std::uint32_t clock_ = 1000;
};

// Installs a fresh headless backend with the given display and returns it.
HeadlessBackend& InstallHeadlessBackend(const DisplayInfo& display = DisplayInfo{});

// The colour shown at a client point of a window (CLR_INVALID outside its visible area).
COLORREF ReadWindowPixel(HWND hwnd, int x, int y);
// The colour shown at a point of a window's frame or client area, in window coordinates (0, 0
// is the frame's top-left corner); CLR_INVALID outside the window.
COLORREF ReadWindowFramePixel(HWND hwnd, int x, int y);
// The whole client area of a window as it is shown, row by row (CLR_INVALID where hidden).
std::vector<COLORREF> ReadWindowPixels(HWND hwnd);
// Saves the picture of a window (frame included) as a PNG file.
bool SaveWindowPng(HWND hwnd, const std::string& path);

}  // namespace platform

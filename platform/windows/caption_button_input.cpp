#include "platform/windows/caption_button_input.h"

#include "platform/windows/caption_layout.h"
#include "platform/windows/message_queue.h"
#include "platform/windows/painting.h"

namespace platform {
namespace {

// There is one stylus, so one button at a time holds it.
HWND& HoldingWindow() {
    static HWND window = nullptr;
    return window;
}

bool IsHolding(HWND hwnd) { return hwnd != nullptr && HoldingWindow() == hwnd; }

void ShowPressed(HWND hwnd, bool pressed) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || record->captionOkPressed == pressed) return;
    record->captionOkPressed = pressed;
    InvalidateFrame(hwnd);
}

// Ends the hold, shows the button released and lets the stylus go.
void Release(HWND hwnd) {
    HoldingWindow() = nullptr;
    ShowPressed(hwnd, false);
    if (GetCapture() == hwnd) ReleaseCapture();
}

}  // namespace

bool IsOnCaptionOkButton(HWND hwnd, POINT screenPoint) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || !HasCaptionOkButton(*record)) return false;
    const RECT target = CaptionLayoutOf(*record).okTarget;
    const POINT point{screenPoint.x - record->rect.left, screenPoint.y - record->rect.top};
    return PtInRect(&target, point) != FALSE;
}

HWND CaptionOkButtonHoldingWindow() { return HoldingWindow(); }

void CaptionOkButtonStylusDown(HWND hwnd, POINT screenPoint) {
    // A press while another is held: its release was lost.
    if (HWND previous = HoldingWindow()) EndCaptionOkButtonHold(previous);
    if (!IsOnCaptionOkButton(hwnd, screenPoint)) return;
    HoldingWindow() = hwnd;
    SetCapture(hwnd);
    // Taking the capture tells its previous holder, which may have ended this hold already.
    if (IsHolding(hwnd)) ShowPressed(hwnd, true);
}

void CaptionOkButtonStylusMove(HWND hwnd, POINT screenPoint) {
    // Off the button it looks released; back on it, pressed again.
    if (IsHolding(hwnd)) ShowPressed(hwnd, IsOnCaptionOkButton(hwnd, screenPoint));
}

void CaptionOkButtonStylusUp(HWND hwnd, POINT screenPoint) {
    if (!IsHolding(hwnd)) return;
    const bool onButton = IsOnCaptionOkButton(hwnd, screenPoint);
    Release(hwnd);
    // Sent once the hold is over, so the window may close itself or open another at once.
    if (onButton && IsWindow(hwnd)) DeliverMessage(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, 0), 0);
}

void EndCaptionOkButtonHold(HWND hwnd) {
    if (IsHolding(hwnd)) Release(hwnd);
}

void ForgetCaptionOkButtonHold(HWND hwnd) {
    if (IsHolding(hwnd)) HoldingWindow() = nullptr;
}

}  // namespace platform

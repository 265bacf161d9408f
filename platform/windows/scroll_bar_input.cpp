#include "platform/windows/scroll_bar_input.h"

#include "platform/windows/message_queue.h"
#include "platform/windows/painting.h"
#include "platform/windows/scroll_bar_layout.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

// A held arrow or track repeats its step after a pause, for as long as the stylus stays on it.
constexpr UINT kFirstRepeatDelay = 400;
constexpr UINT kRepeatInterval = 100;
// The window system's own timer on the window; programs number theirs from small values.
constexpr UINT_PTR kRepeatTimerId = 0x5CB0;

// There is one stylus, so one bar at a time holds it.
struct Hold {
    HWND window = nullptr;
    ScrollBarPart part = ScrollBarPart::Nowhere;
    POINT point{};       // the stylus, window coordinates
    int grabOffset = 0;  // thumb: from the thumb's top to the stylus
};

Hold& CurrentHold() {
    static Hold hold;
    return hold;
}

bool IsHolding(HWND hwnd) { return hwnd != nullptr && CurrentHold().window == hwnd; }

POINT ToWindowPoint(HWND hwnd, POINT screenPoint) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    return POINT{screenPoint.x - rect.left, screenPoint.y - rect.top};
}

ScrollBarLayout LayoutOf(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    return record != nullptr ? VerticalScrollBarLayout(*record) : ScrollBarLayout{};
}

void SendScroll(HWND hwnd, UINT code, int position = 0) {
    // The message carries 16 bits of the position; GetScrollInfo (SIF_TRACKPOS) has all of it.
    DeliverMessage(hwnd, WM_VSCROLL, MAKEWPARAM(static_cast<int>(code), position), 0);
}

UINT StepCode(ScrollBarPart part) {
    switch (part) {
        case ScrollBarPart::UpArrow:
            return SB_LINEUP;
        case ScrollBarPart::DownArrow:
            return SB_LINEDOWN;
        case ScrollBarPart::PageUp:
            return SB_PAGEUP;
        default:
            return SB_PAGEDOWN;
    }
}

bool IsStep(ScrollBarPart part) {
    return part != ScrollBarPart::Nowhere && part != ScrollBarPart::Thumb;
}

bool IsArrow(ScrollBarPart part) {
    return part == ScrollBarPart::UpArrow || part == ScrollBarPart::DownArrow;
}

void ShowPressed(HWND hwnd, ScrollBarPart part) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || record->verticalScroll.shownPressed == part) return;
    record->verticalScroll.shownPressed = part;
    InvalidateFrame(hwnd);
}

// Whether the stylus is still on the part it pressed. The thumb moves under a held track, so a
// held page step stops once the thumb reaches the stylus.
bool StylusOnHeldPart(HWND hwnd) {
    return ScrollBarPartAt(LayoutOf(hwnd), CurrentHold().point) == CurrentHold().part;
}

void RepeatStep(HWND hwnd, UINT /*message*/, UINT_PTR id, DWORD /*time*/) {
    if (!IsHolding(hwnd)) {
        KillTimer(hwnd, id);
        return;
    }
    SetTimer(hwnd, id, kRepeatInterval, RepeatStep);
    if (StylusOnHeldPart(hwnd)) SendScroll(hwnd, StepCode(CurrentHold().part));
}

// The thumb's place for the stylus, as a position of the range.
int ThumbPositionUnderStylus(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return 0;
    const Hold& hold = CurrentHold();
    return PositionForThumbTop(VerticalScrollBarLayout(*record), record->verticalScroll,
                               hold.point.y - hold.grabOffset);
}

void TrackThumb(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    const int position = ThumbPositionUnderStylus(hwnd);
    if (position == record->verticalScroll.trackPosition) return;
    record->verticalScroll.trackPosition = position;
    InvalidateFrame(hwnd);
    SendScroll(hwnd, SB_THUMBTRACK, position);
}

// Ends the hold and lets the stylus go; returns the part that was held. The caller tells the
// window that the scroll ended.
ScrollBarPart Release(HWND hwnd) {
    const ScrollBarPart part = CurrentHold().part;
    CurrentHold() = Hold{};
    KillTimer(hwnd, kRepeatTimerId);
    if (WindowRecord* record = FindWindowRecord(hwnd)) {
        record->verticalScroll.thumbHeld = false;
        record->verticalScroll.shownPressed = ScrollBarPart::Nowhere;
        InvalidateFrame(hwnd);
    }
    if (GetCapture() == hwnd) ReleaseCapture();
    return part;
}

}  // namespace

bool IsOnVerticalScrollBar(HWND hwnd, POINT screenPoint) {
    const RECT bar = LayoutOf(hwnd).bar;
    return PtInRect(&bar, ToWindowPoint(hwnd, screenPoint)) != FALSE;
}

HWND ScrollBarHoldingWindow() { return CurrentHold().window; }

void ScrollBarStylusDown(HWND hwnd, POINT screenPoint) {
    // A press while another is held: its release was lost.
    if (HWND previous = CurrentHold().window) EndScrollBarHold(previous);
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    const ScrollBarLayout layout = VerticalScrollBarLayout(*record);
    const POINT point = ToWindowPoint(hwnd, screenPoint);
    if (!PtInRect(&layout.bar, point)) return;

    // Every press on the bar holds the stylus, also one on a disabled bar, so that its release
    // does not land in the client area as a tap of its own.
    const ScrollBarPart part = ScrollBarPartAt(layout, point);
    CurrentHold() = Hold{hwnd, part, point, point.y - layout.thumb.top};
    SetCapture(hwnd);
    record = FindWindowRecord(hwnd);
    if (record == nullptr || !IsHolding(hwnd)) return;
    if (part == ScrollBarPart::Thumb) {
        record->verticalScroll.thumbHeld = true;
        record->verticalScroll.trackPosition = record->verticalScroll.position;
        InvalidateFrame(hwnd);
    } else if (IsStep(part)) {
        if (IsArrow(part)) ShowPressed(hwnd, part);
        SetTimer(hwnd, kRepeatTimerId, kFirstRepeatDelay, RepeatStep);
        SendScroll(hwnd, StepCode(part));
    }
}

void ScrollBarStylusMove(HWND hwnd, POINT screenPoint) {
    if (!IsHolding(hwnd)) return;
    CurrentHold().point = ToWindowPoint(hwnd, screenPoint);
    const ScrollBarPart part = CurrentHold().part;
    if (part == ScrollBarPart::Thumb) {
        TrackThumb(hwnd);
    } else if (IsArrow(part)) {
        // Off the arrow it looks released and stops repeating; back on it, both resume.
        ShowPressed(hwnd, StylusOnHeldPart(hwnd) ? part : ScrollBarPart::Nowhere);
    }
}

void ScrollBarStylusUp(HWND hwnd, POINT screenPoint) {
    if (!IsHolding(hwnd)) return;
    CurrentHold().point = ToWindowPoint(hwnd, screenPoint);
    if (CurrentHold().part == ScrollBarPart::Thumb) {
        // The thumb ends where the stylus left it.
        const int position = ThumbPositionUnderStylus(hwnd);
        if (WindowRecord* record = FindWindowRecord(hwnd)) {
            record->verticalScroll.trackPosition = position;
        }
        SendScroll(hwnd, SB_THUMBPOSITION, position);
        if (!IsHolding(hwnd)) return;
    }
    const ScrollBarPart part = Release(hwnd);
    if (part != ScrollBarPart::Nowhere && IsWindow(hwnd)) SendScroll(hwnd, SB_ENDSCROLL);
}

void EndScrollBarHold(HWND hwnd) {
    if (!IsHolding(hwnd)) return;
    const ScrollBarPart part = Release(hwnd);
    if (part != ScrollBarPart::Nowhere && IsWindow(hwnd)) SendScroll(hwnd, SB_ENDSCROLL);
}

void ForgetScrollBarHold(HWND hwnd) {
    if (IsHolding(hwnd)) CurrentHold() = Hold{};
}

}  // namespace platform

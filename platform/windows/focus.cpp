// Focus, activation and capture.
#include <algorithm>

#include "platform/windows/backend.h"
#include "platform/windows/caption_button_input.h"
#include "platform/windows/focus_state.h"
#include "platform/windows/message_queue.h"
#include "platform/windows/painting.h"
#include "platform/windows/scroll_bar_input.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

void RedrawFrame(HWND hwnd) {
    if (WindowRecord* record = FindWindowRecord(hwnd)) record->frameDirty = true;
}

HWND Activate(HWND hwnd, bool fromOutside) {
    const HWND topLevel = TopLevelOf(hwnd);
    const HWND previous = Focus().active;
    if (topLevel == previous) return previous;
    Focus().active = topLevel;
    if (previous != nullptr && FindWindowRecord(previous) != nullptr) {
        RedrawFrame(previous);
        if (IsDescendantOf(Focus().focus, previous)) {
            FindWindowRecord(previous)->lastFocus = Focus().focus;
        }
        DeliverMessage(previous, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, 0),
                       reinterpret_cast<LPARAM>(topLevel));
        if (IsDescendantOf(Focus().focus, previous)) SetFocus(nullptr);
    }
    if (topLevel != nullptr && Focus().active == topLevel) {
        RedrawFrame(topLevel);
        if (!fromOutside) CurrentBackend()->RequestForeground(topLevel);
        DeliverMessage(topLevel, WM_ACTIVATE, MAKEWPARAM(WA_ACTIVE, 0),
                       reinterpret_cast<LPARAM>(previous));
    }
    return previous;
}

}  // namespace

FocusState& Focus() {
    static FocusState state;
    return state;
}

void ForgetFocusOf(HWND hwnd) {
    FocusState& state = Focus();
    if (state.focus == hwnd) state.focus = nullptr;
    if (state.capture == hwnd) state.capture = nullptr;
    if (state.active == hwnd) state.active = nullptr;
}

void ActivateFromOutside(HWND topLevel, bool active) {
    // The outside world cannot take the focus from a window it has never shown.
    if (FindWindowRecord(topLevel) == nullptr || !IsShown(topLevel)) return;
    if (active) {
        Activate(topLevel, true);
    } else if (Focus().active == topLevel) {
        Activate(nullptr, true);
    }
}

}  // namespace platform

using platform::Focus;

HWND SetFocus(HWND hwnd) {
    const HWND previous = Focus().focus;
    if (hwnd != nullptr && !IsWindow(hwnd)) return nullptr;
    if (hwnd == previous) return previous;
    if (hwnd != nullptr && platform::TopLevelOf(hwnd) != Focus().active) {
        platform::Activate(hwnd, false);
        // Activation may already have put the focus somewhere in that window.
        if (Focus().focus == hwnd) return previous;
    }
    const HWND leaving = Focus().focus;
    Focus().focus = hwnd;
    if (leaving != nullptr && IsWindow(leaving)) {
        platform::DeliverMessage(leaving, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    }
    if (hwnd != nullptr && Focus().focus == hwnd) {
        platform::DeliverMessage(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(leaving), 0);
    }
    return previous;
}

HWND GetFocus() { return Focus().focus; }

HWND SetActiveWindow(HWND hwnd) {
    if (hwnd != nullptr && !IsWindow(hwnd)) return nullptr;
    return platform::Activate(hwnd, false);
}

HWND GetActiveWindow() { return Focus().active; }

BOOL SetForegroundWindow(HWND hwnd) {
    if (!IsWindow(hwnd)) return FALSE;
    platform::Activate(hwnd, false);
    return TRUE;
}

HWND GetForegroundWindow() { return Focus().active; }

HWND SetCapture(HWND hwnd) {
    const HWND previous = Focus().capture;
    Focus().capture = IsWindow(hwnd) ? hwnd : nullptr;
    if (previous != nullptr && previous != Focus().capture && IsWindow(previous)) {
        platform::DeliverMessage(previous, WM_CAPTURECHANGED, 0,
                                 reinterpret_cast<LPARAM>(Focus().capture));
        // A scroll bar or an ok button that held the stylus has lost it.
        platform::EndScrollBarHold(previous);
        platform::EndCaptionOkButtonHold(previous);
    }
    return previous;
}

BOOL ReleaseCapture() {
    const HWND previous = Focus().capture;
    Focus().capture = nullptr;
    if (previous != nullptr && IsWindow(previous)) {
        platform::DeliverMessage(previous, WM_CAPTURECHANGED, 0, 0);
        platform::EndScrollBarHold(previous);
        platform::EndCaptionOkButtonHold(previous);
    }
    return TRUE;
}

HWND GetCapture() { return Focus().capture; }

#include "platform/windows/message_queue.h"

#include <algorithm>
#include <array>
#include <deque>
#include <limits>
#include <vector>

#include "platform/windows/backend.h"
#include "platform/windows/caption_button_input.h"
#include "platform/windows/cwnd.h"
#include "platform/windows/focus_state.h"
#include "platform/windows/message_pump.h"
#include "platform/windows/painting.h"
#include "platform/windows/scroll_bar_input.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

struct Timer {
    HWND window = nullptr;
    UINT_PTR id = 0;
    UINT interval = 0;
    DWORD due = 0;
    TIMERPROC procedure = nullptr;
};

struct Queue {
    std::deque<MSG> posted;
    std::deque<InputEvent> input;
    std::vector<Timer> timers;
    bool quitPosted = false;
    int quitCode = 0;
    bool stylusDown = false;
    UINT_PTR nextThreadTimerId = 0x7F00;
    // Per virtual key: kKeyDown while held, kKeyToggled flipped by each press.
    std::array<BYTE, 256> keyState{};
};

constexpr BYTE kKeyDown = 0x80;
constexpr BYTE kKeyToggled = 0x01;

Queue& TheQueue() {
    static Queue queue;
    return queue;
}

bool IsDue(DWORD due, DWORD now) { return static_cast<std::int32_t>(now - due) >= 0; }

HWND StylusTarget(POINT screenPoint) {
    if (HWND capture = Focus().capture; IsWindow(capture)) return capture;
    HWND target = WindowFromPoint(screenPoint);
    // Windows under a modal dialog (disabled) get no input.
    if (target != nullptr && !IsEnabledForInput(target)) return nullptr;
    return target;
}

HWND KeyTarget() {
    if (HWND focus = Focus().focus; IsWindow(focus)) return focus;
    if (HWND active = Focus().active; IsWindow(active)) return active;
    return nullptr;
}

MSG StylusMessage(HWND target, UINT message, WPARAM keys, const InputEvent& event) {
    POINT client = event.point;
    ScreenToClient(target, &client);
    return MSG{target, message, keys, MAKELPARAM(client.x, client.y), event.time, event.point};
}

void NoteKeyState(const InputEvent& event) {
    if (event.key >= TheQueue().keyState.size()) return;
    BYTE& state = TheQueue().keyState[event.key];
    if (event.kind == InputKind::KeyUp) {
        state = static_cast<BYTE>(state & ~kKeyDown);
    } else if ((state & kKeyDown) == 0) {
        // Auto-repeat does not toggle.
        state = static_cast<BYTE>((state ^ kKeyToggled) | kKeyDown);
    }
}

// The stylus on a part of a window's frame that the window system answers itself (its scroll
// bar or its caption ok button): screen coordinates, as for every non-client message.
MSG FrameMessage(HWND target, UINT message, WPARAM part, const InputEvent& event) {
    return MSG{target,     message,    part, MAKELPARAM(event.point.x, event.point.y),
               event.time, event.point};
}

// Which such part lies under a press, or HTNOWHERE.
WPARAM FramePartAt(HWND target, POINT screenPoint) {
    if (IsOnVerticalScrollBar(target, screenPoint)) return HTVSCROLL;
    if (IsOnCaptionOkButton(target, screenPoint)) return HTCLOSE;
    return HTNOWHERE;
}

// The window whose frame holds the stylus and the part that holds it; null when none does.
struct FrameHold {
    HWND window = nullptr;
    WPARAM part = HTNOWHERE;
};

FrameHold CurrentFrameHold() {
    if (HWND holding = ScrollBarHoldingWindow()) return FrameHold{holding, HTVSCROLL};
    if (HWND holding = CaptionOkButtonHoldingWindow()) return FrameHold{holding, HTCLOSE};
    return FrameHold{};
}

// Turns queued input into the message it stands for; false when it produces none (a move while
// the stylus is up, input for no window, or events acted on at once).
bool MessageFromInput(const InputEvent& event, MSG* message) {
    Queue& queue = TheQueue();
    switch (event.kind) {
        case InputKind::StylusDown: {
            // A press while a frame part still holds the stylus: its release was lost.
            if (HWND holding = ScrollBarHoldingWindow()) EndScrollBarHold(holding);
            if (HWND holding = CaptionOkButtonHoldingWindow()) EndCaptionOkButtonHold(holding);
            HWND target = StylusTarget(event.point);
            if (target == nullptr) return false;
            queue.stylusDown = true;
            // A window that holds the capture gets every press as its own, even on its frame.
            const WPARAM part =
                Focus().capture == nullptr ? FramePartAt(target, event.point) : HTNOWHERE;
            if (part != HTNOWHERE) {
                *message = FrameMessage(target, WM_NCLBUTTONDOWN, part, event);
            } else {
                *message = StylusMessage(target, WM_LBUTTONDOWN, MK_LBUTTON, event);
            }
            return true;
        }
        case InputKind::StylusMove: {
            if (!queue.stylusDown) return false;
            if (const FrameHold hold = CurrentFrameHold(); hold.window != nullptr) {
                *message = FrameMessage(hold.window, WM_NCMOUSEMOVE, hold.part, event);
                return true;
            }
            HWND target = StylusTarget(event.point);
            if (target == nullptr) return false;
            *message = StylusMessage(target, WM_MOUSEMOVE, MK_LBUTTON, event);
            return true;
        }
        case InputKind::StylusUp: {
            if (!queue.stylusDown) return false;
            queue.stylusDown = false;
            if (const FrameHold hold = CurrentFrameHold(); hold.window != nullptr) {
                *message = FrameMessage(hold.window, WM_NCLBUTTONUP, hold.part, event);
                return true;
            }
            HWND target = StylusTarget(event.point);
            if (target == nullptr) return false;
            *message = StylusMessage(target, WM_LBUTTONUP, 0, event);
            return true;
        }
        case InputKind::KeyDown:
        case InputKind::KeyUp:
        case InputKind::Character: {
            // The key state follows every key, also one that no window is there to receive.
            if (event.kind != InputKind::Character) NoteKeyState(event);
            HWND target = KeyTarget();
            if (target == nullptr || !IsEnabledForInput(target)) return false;
            const UINT kind = event.kind == InputKind::KeyDown ? WM_KEYDOWN
                              : event.kind == InputKind::KeyUp ? WM_KEYUP
                                                               : WM_CHAR;
            const WPARAM code = event.kind == InputKind::Character
                                    ? static_cast<WPARAM>(event.character)
                                    : static_cast<WPARAM>(event.key);
            // Repeat count 1; a key release also carries the previous-state and transition bits.
            const LPARAM flags =
                event.kind == InputKind::KeyUp ? static_cast<LPARAM>(0xC0000001u) : 1;
            *message = MSG{target, kind, code, flags, event.time, {}};
            return true;
        }
        case InputKind::Activation:
            ActivateFromOutside(event.window, event.active);
            // Keys released while another program had them never come back to us.
            if (Focus().active == nullptr) {
                for (BYTE& state : queue.keyState) state = static_cast<BYTE>(state & ~kKeyDown);
            }
            return false;
        case InputKind::Resize: {
            // Sizes the window already has (often the echo of its own resize) change nothing.
            const WindowRecord* record = FindWindowRecord(event.window);
            if (record == nullptr || !IsTopLevel(*record)) return false;
            const RECT rect = record->rect;
            if (rect.right - rect.left != event.size.cx ||
                rect.bottom - rect.top != event.size.cy) {
                SetWindowPos(event.window, nullptr, 0, 0, event.size.cx, event.size.cy,
                             SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return false;
        }
        case InputKind::Display: {
            SetCurrentDisplay(event.display);
            const std::vector<HWND> topLevels = TopLevelWindows();
            for (HWND hwnd : topLevels) {
                DeliverMessage(hwnd, WM_DISPLAYCHANGE, 32,
                               MAKELPARAM(event.display.width, event.display.height));
                // A top-level window hears of a new screen size as a size message, so windows
                // that depend on the screen can react in OnSize.
                RECT client{};
                if (GetClientRect(hwnd, &client)) {
                    DeliverMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                                   MAKELPARAM(client.right, client.bottom));
                }
            }
            return false;
        }
    }
    return false;
}

bool TakeDueTimer(MSG* message, bool remove) {
    Queue& queue = TheQueue();
    const DWORD now = GetTickCount();
    Timer* earliest = nullptr;
    for (Timer& timer : queue.timers) {
        if (!IsDue(timer.due, now)) continue;
        if (earliest == nullptr || static_cast<std::int32_t>(timer.due - earliest->due) < 0) {
            earliest = &timer;
        }
    }
    if (earliest == nullptr) return false;
    *message = MSG{earliest->window,
                   WM_TIMER,
                   earliest->id,
                   reinterpret_cast<LPARAM>(earliest->procedure),
                   now,
                   {}};
    // Ticks do not pile up: a late timer fires once and then waits a whole interval again.
    if (remove) earliest->due = now + earliest->interval;
    return true;
}

// Milliseconds until the next timer is due; -1 when there is none.
int MillisecondsToNextTimer() {
    const DWORD now = GetTickCount();
    std::int64_t shortest = -1;
    for (const Timer& timer : TheQueue().timers) {
        const std::int64_t wait =
            std::max<std::int64_t>(0, static_cast<std::int32_t>(timer.due - now));
        if (shortest < 0 || wait < shortest) shortest = wait;
    }
    return static_cast<int>(std::min<std::int64_t>(shortest, std::numeric_limits<int>::max()));
}

bool NextMessage(MSG* message, bool remove) {
    Queue& queue = TheQueue();
    for (;;) {
        if (!queue.posted.empty()) {
            *message = queue.posted.front();
            if (remove) queue.posted.pop_front();
            return true;
        }
        if (queue.input.empty()) break;
        const InputEvent event = queue.input.front();
        queue.input.pop_front();
        // Input acted on at once (activation, display changes) may post messages of its own,
        // which come before any further input.
        if (MessageFromInput(event, message)) {
            if (!remove) queue.posted.push_front(*message);
            return true;
        }
    }
    if (queue.quitPosted) {
        *message =
            MSG{nullptr, WM_QUIT, static_cast<WPARAM>(queue.quitCode), 0, GetTickCount(), {}};
        if (remove) queue.quitPosted = false;
        return true;
    }
    if (HWND hwnd = NextWindowToPaint()) {
        *message = MSG{hwnd, WM_PAINT, 0, 0, GetTickCount(), {}};
        return true;
    }
    return TakeDueTimer(message, remove);
}

}  // namespace

void QueueInput(const InputEvent& event) {
    InputEvent stamped = event;
    stamped.time = GetTickCount();
    TheQueue().input.push_back(stamped);
}

void ForgetWindowMessages(HWND hwnd) {
    Queue& queue = TheQueue();
    std::erase_if(queue.posted, [hwnd](const MSG& message) { return message.hwnd == hwnd; });
    std::erase_if(queue.timers, [hwnd](const Timer& timer) { return timer.window == hwnd; });
}

LRESULT DeliverMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return 0;
    if (CWnd* object = record->object) return object->WindowProc(message, wParam, lParam);
    return record->windowClass->procedure(hwnd, message, wParam, lParam);
}

void ResetMessageQueue() {
    Queue& queue = TheQueue();
    queue.posted.clear();
    queue.input.clear();
    queue.timers.clear();
    queue.quitPosted = false;
    queue.stylusDown = false;
    queue.keyState.fill(0);
}

bool InputStylusDown() { return TheQueue().stylusDown; }

bool IsQuitPosted() { return TheQueue().quitPosted; }

}  // namespace platform

using platform::TheQueue;

LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return platform::DeliverMessage(hwnd, message, wParam, lParam);
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (hwnd != nullptr && !IsWindow(hwnd)) return FALSE;
    TheQueue().posted.push_back(MSG{hwnd, message, wParam, lParam, GetTickCount(), {}});
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    TheQueue().quitPosted = true;
    TheQueue().quitCode = exitCode;
}

BOOL PeekMessage(MSG* message, HWND /*hwnd*/, UINT /*filterMin*/, UINT /*filterMax*/,
                 UINT removeFlags) {
    if (message == nullptr) return FALSE;
    return platform::NextMessage(message, (removeFlags & PM_REMOVE) != 0) ? TRUE : FALSE;
}

BOOL GetMessage(MSG* message, HWND /*hwnd*/, UINT /*filterMin*/, UINT /*filterMax*/) {
    if (message == nullptr) return FALSE;
    while (!platform::NextMessage(message, true)) {
        platform::PresentDirtyWindows();
        if (!platform::CurrentBackend()->WaitForEvents(platform::MillisecondsToNextTimer())) {
            // Nothing can ever arrive: end the loop as a quit would.
            *message = MSG{nullptr, WM_QUIT, 0, 0, GetTickCount(), {}};
            return FALSE;
        }
    }
    return message->message == WM_QUIT ? FALSE : TRUE;
}

SHORT GetKeyState(int virtualKey) {
    const std::array<BYTE, 256>& keys = TheQueue().keyState;
    if (virtualKey < 0 || static_cast<std::size_t>(virtualKey) >= keys.size()) return 0;
    const BYTE state = keys[static_cast<std::size_t>(virtualKey)];
    return static_cast<SHORT>(((state & platform::kKeyDown) != 0 ? 0x8000 : 0) |
                              ((state & platform::kKeyToggled) != 0 ? 1 : 0));
}

BOOL TranslateMessage(const MSG* /*message*/) {
    // Backends deliver typed text as WM_CHAR already.
    return FALSE;
}

LRESULT DispatchMessage(const MSG* message) {
    if (message == nullptr) return 0;
    if (message->message == WM_TIMER && message->lParam != 0) {
        auto procedure = reinterpret_cast<TIMERPROC>(message->lParam);
        procedure(message->hwnd, WM_TIMER, message->wParam, GetTickCount());
        return 0;
    }
    if (message->hwnd == nullptr) return 0;
    if (message->message == WM_PAINT) {
        platform::DeliverPaint(message->hwnd);
        return 0;
    }
    return platform::DeliverMessage(message->hwnd, message->message, message->wParam,
                                    message->lParam);
}

UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    if (hwnd != nullptr && !IsWindow(hwnd)) return 0;
    platform::Queue& queue = TheQueue();
    if (hwnd == nullptr) id = ++queue.nextThreadTimerId;
    const UINT interval = std::max<UINT>(elapse, 1);
    const DWORD due = GetTickCount() + interval;
    for (platform::Timer& timer : queue.timers) {
        if (timer.window == hwnd && timer.id == id) {
            timer.interval = interval;
            timer.due = due;
            timer.procedure = procedure;
            return id == 0 ? 1 : id;
        }
    }
    queue.timers.push_back(platform::Timer{hwnd, id, interval, due, procedure});
    return id == 0 ? 1 : id;
}

BOOL KillTimer(HWND hwnd, UINT_PTR id) {
    platform::Queue& queue = TheQueue();
    const auto removed = std::erase_if(queue.timers, [hwnd, id](const platform::Timer& timer) {
        return timer.window == hwnd && timer.id == id;
    });
    // A tick already taken from the timer but not yet handled is dropped as well.
    std::erase_if(queue.posted, [hwnd, id](const MSG& message) {
        return message.message == WM_TIMER && message.hwnd == hwnd && message.wParam == id;
    });
    return removed > 0 ? TRUE : FALSE;
}

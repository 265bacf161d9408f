// The program's message queue: posted messages, queued input, timers, and the paint and present
// steps that run when the queue is otherwise empty. Internal to the window system.
#pragma once

#include "platform/base/system_metrics.h"
#include "platform/windows/window_api.h"

namespace platform {

enum class InputKind {
    StylusDown,
    StylusMove,
    StylusUp,
    KeyDown,
    KeyUp,
    Character,
    Activation,
    Display,
    Resize
};

struct InputEvent {
    InputKind kind = InputKind::StylusDown;
    POINT point{};          // stylus events, screen coordinates
    UINT key = 0;           // key events
    wchar_t character = 0;  // typed text
    HWND window = nullptr;  // activation, resize
    bool active = false;    // activation
    SIZE size{};            // resize
    DisplayInfo display{};  // display change
    DWORD time = 0;
};

void QueueInput(const InputEvent& event);
// Drops the queued messages and the timers of a window that is being destroyed.
void ForgetWindowMessages(HWND hwnd);
// Delivers a message to the window's framework object or class procedure.
LRESULT DeliverMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
// Empties the queue for a fresh start (a new backend).
void ResetMessageQueue();
// Whether the last stylus event taken from the queue left the stylus down.
bool InputStylusDown();

}  // namespace platform

// Input from the outside world, as the backends report it. Events are queued in order and turned
// into window messages when the program takes them from its queue, so a capture or focus change
// made while handling one event already applies to the next.
#pragma once

#include "platform/base/system_metrics.h"
#include "platform/base/win_types.h"

namespace platform::input {

// The stylus (a finger, a pen or the left mouse button) at a screen point. Moves are delivered
// only while the stylus is down, as on a touch screen: hovering never reaches a window.
void StylusDown(POINT screenPoint);
void StylusMove(POINT screenPoint);
void StylusUp(POINT screenPoint);
bool IsStylusDown();

// Keys, by virtual-key code, to the window with the keyboard focus.
void KeyDown(UINT virtualKey);
void KeyUp(UINT virtualKey);
// Typed text, one character at a time, to the focus window (WM_CHAR).
void Character(wchar_t character);

// The outside world gave a top-level window the input focus, or took it away.
void ActivationChanged(HWND topLevel, bool active);

// The outside world (a window manager, another client) gave a top-level window a new size; the
// window takes it and hears of it as WM_SIZE, so that its content can be laid out again.
void WindowResized(HWND topLevel, SIZE size);

// The display changed its size or density: top-level windows get WM_DISPLAYCHANGE and WM_SIZE.
void DisplayChanged(const DisplayInfo& display);

}  // namespace platform::input

// The stylus on a window's vertical scroll bar. A press on an arrow, on the track or on the thumb
// holds the stylus (the window gets the capture) until the release, and what it does reaches the
// window as WM_VSCROLL; the window moves the position itself. Internal to the window system.
#pragma once

#include "platform/base/win_types.h"

namespace platform {

// Whether a screen point lies on the window's vertical scroll bar.
bool IsOnVerticalScrollBar(HWND hwnd, POINT screenPoint);
// The window whose scroll bar holds the stylus, or null.
HWND ScrollBarHoldingWindow();

// The stylus pressed, moved or lifted (screen points); the default handling of WM_NCLBUTTONDOWN,
// WM_NCMOUSEMOVE and WM_NCLBUTTONUP on the bar.
void ScrollBarStylusDown(HWND hwnd, POINT screenPoint);
void ScrollBarStylusMove(HWND hwnd, POINT screenPoint);
void ScrollBarStylusUp(HWND hwnd, POINT screenPoint);

// The hold ends without a release: the window lost the capture or its bar (SB_ENDSCROLL follows),
// or it is being destroyed (nothing is sent).
void EndScrollBarHold(HWND hwnd);
void ForgetScrollBarHold(HWND hwnd);

}  // namespace platform

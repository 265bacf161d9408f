// The stylus on a window's caption ok button. A press on it holds the stylus (the window gets
// the capture) and shows the button pressed while the stylus stays on it; a release on it sends
// the window WM_COMMAND with IDOK. Its non-client messages carry the hit code HTCLOSE, as the
// button is the window's close control. Internal to the window system.
#pragma once

#include "platform/base/win_types.h"

namespace platform {

// Whether a screen point lies on the window's ok button (its finger-sized target).
bool IsOnCaptionOkButton(HWND hwnd, POINT screenPoint);
// The window whose ok button holds the stylus, or null.
HWND CaptionOkButtonHoldingWindow();

// The stylus pressed, moved or lifted (screen points); the default handling of WM_NCLBUTTONDOWN,
// WM_NCMOUSEMOVE and WM_NCLBUTTONUP with HTCLOSE.
void CaptionOkButtonStylusDown(HWND hwnd, POINT screenPoint);
void CaptionOkButtonStylusMove(HWND hwnd, POINT screenPoint);
void CaptionOkButtonStylusUp(HWND hwnd, POINT screenPoint);

// The hold ends without a command: the window lost the capture or its button. Forgetting is for a
// window being destroyed, which is not touched any more.
void EndCaptionOkButtonHold(HWND hwnd);
void ForgetCaptionOkButtonHold(HWND hwnd);

}  // namespace platform

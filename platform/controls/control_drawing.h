// What the platform's controls share in their look: the font a control draws with and the frame
// of a given thickness around a rectangle.
#pragma once

#include "platform/graphics/gdi_classes.h"

namespace platform {

// The font the control was given with WM_SETFONT, else the system's default font.
HFONT ControlFont(HWND control);

// Fills a band `thickness` pixels wide just inside `rect`, in `color`.
void DrawControlFrame(CDC& dc, const RECT& rect, int thickness, COLORREF color);

}  // namespace platform

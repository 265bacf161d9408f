// The look of a window's vertical scroll bar, drawn by the window system as part of the frame.
// Internal to the window system.
#pragma once

#include "platform/windows/window_tree.h"

namespace platform {

// Draws the bar of a window with WS_VSCROLL into a context on its frame (window coordinates).
void DrawVerticalScrollBar(HDC context, const WindowRecord& record);

}  // namespace platform

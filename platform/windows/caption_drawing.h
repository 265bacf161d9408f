// The look of a window's caption bar: the bar in the caption colour, the window text in bold and,
// on a window with WS_EX_CAPTIONOKBTN, the ok button at its right end. Drawn by the window system
// as part of the frame. Internal to the window system.
#pragma once

#include "platform/windows/window_tree.h"

namespace platform {

// Draws the caption of a window with WS_CAPTION into a context on its frame (window coordinates),
// in the colours of an active or an inactive window.
void DrawCaption(HDC context, const WindowRecord& record, bool active);

}  // namespace platform

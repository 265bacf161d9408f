// Where a window's caption bar lies and, on a top-level window with WS_EX_CAPTIONOKBTN, its ok
// button: a finger-sized button at the right end of the bar that closes the window with IDOK.
// Such a caption is taller than the standard one, so the button fits with a margin. Internal to
// the window system.
#pragma once

#include "platform/windows/window_tree.h"

namespace platform {

// All rectangles in window coordinates (0, 0 is the top-left corner of the window's frame).
struct CaptionLayout {
    RECT bar{};       // empty for a window without WS_CAPTION
    RECT title{};     // where the window text goes: the bar without the button's end
    RECT okButton{};  // the button as drawn; empty without the button
    RECT okTarget{};  // where the stylus presses the button: from the button's left margin to
                      // the window's top and right edges, so a finger in the corner hits it
};

bool HasCaption(const WindowRecord& record);
bool HasCaptionOkButton(const WindowRecord& record);
// The height of the caption bar (0 without a caption).
int CaptionHeight(const WindowRecord& record);
CaptionLayout CaptionLayoutOf(const WindowRecord& record);

}  // namespace platform

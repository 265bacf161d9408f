// Where the parts of a window's vertical scroll bar lie: the arrows at both ends, the track
// between them and the thumb, whose length shows the page against the range and whose place shows
// the position. Internal to the window system.
#pragma once

#include "platform/windows/window_tree.h"

namespace platform {

// All rectangles in window coordinates (0, 0 is the top-left corner of the window's frame).
struct ScrollBarLayout {
    RECT bar{};  // empty for a window without WS_VSCROLL
    RECT upArrow{};
    RECT downArrow{};
    RECT track{};
    RECT thumb{};          // empty when the bar is disabled or the track is too short for it
    bool enabled = false;  // false when the whole range fits in the page
};

// The last position at which a whole page still fits in the range.
int LastScrollPosition(const ScrollBarState& state);
// The range is longer than the page, so there is something to scroll.
bool ScrollBarCanScroll(const ScrollBarState& state);
// The window's bar with its thumb where the user sees it (at the tracked position while the thumb
// is dragged).
ScrollBarLayout VerticalScrollBarLayout(const WindowRecord& record);
ScrollBarPart ScrollBarPartAt(const ScrollBarLayout& layout, POINT windowPoint);
// The position at which the thumb would start at `thumbTop` (window coordinates), within the
// range; the thumb's length is the one `layout` shows.
int PositionForThumbTop(const ScrollBarLayout& layout, const ScrollBarState& state, int thumbTop);

}  // namespace platform

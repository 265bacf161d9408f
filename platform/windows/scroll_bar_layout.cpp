#include "platform/windows/scroll_bar_layout.h"

#include <algorithm>
#include <cstdint>

#include "platform/base/system_metrics.h"

namespace platform {
namespace {

// The page against the whole range, never shorter than a finger is wide; a bar without a page
// shows a thumb of the smallest length.
int ThumbLength(const ScrollBarState& state, int trackLength) {
    const int smallest = GetSystemMetrics(SM_CYVSCROLLTHUMB);
    if (state.page == 0) return smallest;
    const std::int64_t range = std::int64_t{state.maximum} - state.minimum + 1;
    const std::int64_t page = std::min<std::int64_t>(state.page, range);
    return static_cast<int>(std::max<std::int64_t>(smallest, trackLength * page / range));
}

// Positions from the first to the last spread evenly over the track's free length, rounded to
// the nearest pixel (and back, so that a position survives the trip).
int ThumbOffset(const ScrollBarState& state, int position, int freeLength) {
    const int last = LastScrollPosition(state);
    const std::int64_t span = std::int64_t{last} - state.minimum;
    const std::int64_t steps =
        std::int64_t{std::clamp(position, state.minimum, last)} - state.minimum;
    return static_cast<int>((steps * freeLength * 2 + span) / (2 * span));
}

}  // namespace

int LastScrollPosition(const ScrollBarState& state) {
    const std::int64_t pageBeyondFirst = std::max<std::int64_t>(std::int64_t{state.page} - 1, 0);
    return static_cast<int>(
        std::max<std::int64_t>(state.minimum, std::int64_t{state.maximum} - pageBeyondFirst));
}

bool ScrollBarCanScroll(const ScrollBarState& state) {
    return LastScrollPosition(state) > state.minimum;
}

ScrollBarLayout VerticalScrollBarLayout(const WindowRecord& record) {
    ScrollBarLayout layout;
    if ((record.style & WS_VSCROLL) == 0) return layout;
    const RECT client = ClientAreaInWindow(record);
    const RECT window{0, 0, record.rect.right - record.rect.left,
                      record.rect.bottom - record.rect.top};
    const RECT bar{client.right, client.top, client.right + GetSystemMetrics(SM_CXVSCROLL),
                   client.bottom};
    if (!IntersectRect(&layout.bar, &bar, &window)) return layout;

    // Square arrows; a bar shorter than two of them shares its height between them.
    const int arrow = std::min(GetSystemMetrics(SM_CYVSCROLL), (bar.bottom - bar.top) / 2);
    layout.upArrow = RECT{bar.left, bar.top, bar.right, bar.top + arrow};
    layout.downArrow = RECT{bar.left, bar.bottom - arrow, bar.right, bar.bottom};
    layout.track = RECT{bar.left, layout.upArrow.bottom, bar.right, layout.downArrow.top};

    const ScrollBarState& state = record.verticalScroll;
    layout.enabled = ScrollBarCanScroll(state);
    if (!layout.enabled) return layout;
    const int trackLength = layout.track.bottom - layout.track.top;
    const int thumbLength = ThumbLength(state, trackLength);
    if (thumbLength > trackLength) return layout;
    const int position = state.thumbHeld ? state.trackPosition : state.position;
    const int top = layout.track.top + ThumbOffset(state, position, trackLength - thumbLength);
    layout.thumb = RECT{bar.left, top, bar.right, top + thumbLength};
    return layout;
}

ScrollBarPart ScrollBarPartAt(const ScrollBarLayout& layout, POINT windowPoint) {
    if (!layout.enabled || !PtInRect(&layout.bar, windowPoint)) return ScrollBarPart::Nowhere;
    if (PtInRect(&layout.upArrow, windowPoint)) return ScrollBarPart::UpArrow;
    if (PtInRect(&layout.downArrow, windowPoint)) return ScrollBarPart::DownArrow;
    if (IsRectEmpty(&layout.thumb)) return ScrollBarPart::Nowhere;
    if (windowPoint.y < layout.thumb.top) return ScrollBarPart::PageUp;
    if (windowPoint.y >= layout.thumb.bottom) return ScrollBarPart::PageDown;
    return ScrollBarPart::Thumb;
}

int PositionForThumbTop(const ScrollBarLayout& layout, const ScrollBarState& state, int thumbTop) {
    const int freeLength =
        (layout.track.bottom - layout.track.top) - (layout.thumb.bottom - layout.thumb.top);
    const int current = state.thumbHeld ? state.trackPosition : state.position;
    if (IsRectEmpty(&layout.thumb) || freeLength <= 0) return current;
    const std::int64_t offset = std::clamp(thumbTop - layout.track.top, 0, freeLength);
    const std::int64_t span = std::int64_t{LastScrollPosition(state)} - state.minimum;
    const std::int64_t steps = (offset * span * 2 + freeLength) / (2 * freeLength);
    return static_cast<int>(state.minimum + steps);
}

}  // namespace platform

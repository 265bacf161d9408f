// The range, page and position of a window's scroll bars.
#include <algorithm>

#include "platform/windows/painting.h"
#include "platform/windows/scroll_bar_layout.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

ScrollBarState* BarOf(HWND hwnd, int bar) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return nullptr;
    if (bar == SB_VERT) return &record->verticalScroll;
    if (bar == SB_HORZ) return &record->horizontalScroll;
    return nullptr;
}

int ClampedPosition(const ScrollBarState& state, int position) {
    return std::clamp(position, state.minimum, LastScrollPosition(state));
}

}  // namespace
}  // namespace platform

// The window itself moves the position (the bar only reports what the stylus does), and a
// redraw repaints the bar alone: the window's client area is its own business.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw) {
    platform::ScrollBarState* state = platform::BarOf(hwnd, bar);
    if (state == nullptr || info == nullptr) return 0;
    if ((info->fMask & SIF_RANGE) != 0) {
        state->minimum = info->nMin;
        state->maximum = std::max(info->nMin, info->nMax);
    }
    if ((info->fMask & SIF_PAGE) != 0) state->page = info->nPage;
    if ((info->fMask & SIF_POS) != 0) state->position = info->nPos;
    state->position = platform::ClampedPosition(*state, state->position);
    state->trackPosition = platform::ClampedPosition(*state, state->trackPosition);
    if (redraw) platform::InvalidateFrame(hwnd);
    return state->position;
}

BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info) {
    const platform::ScrollBarState* state = platform::BarOf(hwnd, bar);
    if (state == nullptr || info == nullptr) return FALSE;
    if ((info->fMask & SIF_RANGE) != 0) {
        info->nMin = state->minimum;
        info->nMax = state->maximum;
    }
    if ((info->fMask & SIF_PAGE) != 0) info->nPage = state->page;
    if ((info->fMask & SIF_POS) != 0) info->nPos = state->position;
    if ((info->fMask & SIF_TRACKPOS) != 0) {
        info->nTrackPos = state->thumbHeld ? state->trackPosition : state->position;
    }
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int position, BOOL redraw) {
    platform::ScrollBarState* state = platform::BarOf(hwnd, bar);
    if (state == nullptr) return 0;
    const int previous = state->position;
    state->position = platform::ClampedPosition(*state, position);
    if (redraw) platform::InvalidateFrame(hwnd);
    return previous;
}

int GetScrollPos(HWND hwnd, int bar) {
    const platform::ScrollBarState* state = platform::BarOf(hwnd, bar);
    return state != nullptr ? state->position : 0;
}

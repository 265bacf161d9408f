// The range, page and position of a window's scroll bars.
#include <algorithm>
#include <cstdint>

#include "platform/windows/painting.h"
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

// The last position at which a whole page still fits in the range.
int LastPosition(const ScrollBarState& state) {
    const std::int64_t page = state.page > 0 ? static_cast<std::int64_t>(state.page) - 1 : 0;
    return static_cast<int>(std::max<std::int64_t>(state.minimum, state.maximum - page));
}

int ClampedPosition(const ScrollBarState& state, int position) {
    return std::clamp(position, state.minimum, std::max(state.minimum, LastPosition(state)));
}

}  // namespace
}  // namespace platform

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
    if (redraw) platform::InvalidateWholeWindow(hwnd);
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
    if ((info->fMask & SIF_TRACKPOS) != 0) info->nTrackPos = state->trackPosition;
    return TRUE;
}

int SetScrollPos(HWND hwnd, int bar, int position, BOOL redraw) {
    platform::ScrollBarState* state = platform::BarOf(hwnd, bar);
    if (state == nullptr) return 0;
    const int previous = state->position;
    state->position = platform::ClampedPosition(*state, position);
    if (redraw) platform::InvalidateWholeWindow(hwnd);
    return previous;
}

int GetScrollPos(HWND hwnd, int bar) {
    const platform::ScrollBarState* state = platform::BarOf(hwnd, bar);
    return state != nullptr ? state->position : 0;
}

#include "platform/windows/scroll_bar_drawing.h"

#include <algorithm>

#include "platform/graphics/system_colors.h"
#include "platform/windows/scroll_bar_layout.h"

namespace platform {
namespace {

void Fill(HDC context, const RECT& rect, int colorIndex) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(colorIndex));
    FillRect(context, &rect, brush);
    DeleteObject(brush);
}

// A one-pixel edge just inside the rectangle.
void Outline(HDC context, const RECT& rect, int colorIndex) {
    Fill(context, RECT{rect.left, rect.top, rect.right, rect.top + 1}, colorIndex);
    Fill(context, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, colorIndex);
    Fill(context, RECT{rect.left, rect.top, rect.left + 1, rect.bottom}, colorIndex);
    Fill(context, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, colorIndex);
}

// A filled triangle centred in the arrow, its point up or down, a quarter of the arrow wide on
// each side of the middle.
void DrawArrowGlyph(HDC context, const RECT& arrow, bool up, int colorIndex) {
    const int side = std::min(arrow.right - arrow.left, arrow.bottom - arrow.top);
    const int rows = side / 4;
    const int middleX = (arrow.left + arrow.right) / 2;
    const int top = (arrow.top + arrow.bottom) / 2 - rows / 2;
    for (int row = 0; row < rows; ++row) {
        const int halfWidth = up ? row : rows - 1 - row;
        Fill(context, RECT{middleX - halfWidth, top + row, middleX + halfWidth + 1, top + row + 1},
             colorIndex);
    }
}

void DrawArrow(HDC context, const RECT& arrow, bool up, bool enabled, bool pressed) {
    if (IsRectEmpty(&arrow)) return;
    Fill(context, arrow, pressed ? COLOR_BTNSHADOW : COLOR_BTNFACE);
    Outline(context, arrow, COLOR_BTNSHADOW);
    DrawArrowGlyph(context, arrow, up, enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
}

}  // namespace

void DrawVerticalScrollBar(HDC context, const WindowRecord& record) {
    const ScrollBarLayout layout = VerticalScrollBarLayout(record);
    if (IsRectEmpty(&layout.bar)) return;
    const ScrollBarState& state = record.verticalScroll;
    Fill(context, layout.track, COLOR_SCROLLBAR);
    DrawArrow(context, layout.upArrow, true, layout.enabled,
              state.shownPressed == ScrollBarPart::UpArrow);
    DrawArrow(context, layout.downArrow, false, layout.enabled,
              state.shownPressed == ScrollBarPart::DownArrow);
    if (!IsRectEmpty(&layout.thumb)) {
        Fill(context, layout.thumb, COLOR_BTNFACE);
        Outline(context, layout.thumb, COLOR_BTNSHADOW);
    }
}

}  // namespace platform

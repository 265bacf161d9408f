#include "settings/tree_drawing.h"

#include "platform/graphics/system_colors.h"

namespace settings {

COLORREF SysColor(int colorIndex) {
    return GetSysColor(static_cast<int>(SYS_COLOR_INDEX_FLAG) | colorIndex);
}

void FillWithSysColor(CDC& dc, const RECT& rect, int colorIndex) {
    CBrush brush;
    if (!brush.CreateSolidBrush(SysColor(colorIndex))) return;
    dc.FillRect(&rect, &brush);
}

void DrawSysColorLine(CDC& dc, int colorIndex, std::initializer_list<POINT> points) {
    if (points.size() < 2) return;
    CPen pen;
    if (!pen.CreatePen(PS_SOLID, 1, SysColor(colorIndex))) return;
    HPEN previous = dc.SelectObject(&pen);
    const POINT* point = points.begin();
    dc.MoveTo(point->x, point->y);
    for (++point; point != points.end(); ++point) dc.LineTo(point->x, point->y);
    dc.SelectObject(previous);
}

}  // namespace settings

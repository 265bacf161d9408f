#include "platform/controls/check_box_drawing.h"

#include <algorithm>
#include <cstdlib>

#include "platform/base/system_metrics.h"

namespace platform {
namespace {

// Stamps a square of side `thickness` at every pixel step from `from` to `to`, so that the
// stroke has the same weight at any slope.
void Stroke(CDC& dc, POINT from, POINT to, int thickness, COLORREF color) {
    const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y));
    for (int step = 0; step <= steps; ++step) {
        const int x = steps == 0 ? from.x : from.x + (to.x - from.x) * step / steps;
        const int y = steps == 0 ? from.y : from.y + (to.y - from.y) * step / steps;
        const RECT dot{x - thickness / 2, y - thickness / 2, x - thickness / 2 + thickness,
                       y - thickness / 2 + thickness};
        dc.FillSolidRect(&dot, color);
    }
}

}  // namespace

CRect CheckBoxSquare(const RECT& client) {
    const int height = client.bottom - client.top;
    const int side = std::max(0, std::min(ScaleForDisplay(20), height - 2));
    const int left = client.left + ScaleForDisplay(2);
    const int top = client.top + (height - side) / 2;
    return CRect(left, top, left + side, top + side);
}

void DrawCheckMark(CDC& dc, const RECT& box, COLORREF color) {
    const int side = box.right - box.left;
    if (side <= 0) return;
    const int thickness = std::max(2, side / 8);
    // The short arm falls to the corner, the long one rises to the upper right.
    const POINT start{box.left + side * 22 / 100, box.top + side * 50 / 100};
    const POINT corner{box.left + side * 42 / 100, box.top + side * 70 / 100};
    const POINT end{box.left + side * 78 / 100, box.top + side * 28 / 100};
    Stroke(dc, start, corner, thickness, color);
    Stroke(dc, corner, end, thickness, color);
}

}  // namespace platform

#include "settings/picker_placement.h"

#include "platform/base/system_metrics.h"

namespace settings {

CRect PlacePicker(const CRect& treeClient, const RECT& cell, int heightInCells) {
    CRect anchor(cell);
    const int h = anchor.Height();
    if (anchor.bottom > treeClient.bottom) anchor.OffsetRect(0, -h);
    CRect area(0, 0, 0, 0);
    if (treeClient.bottom - heightInCells * h < anchor.bottom) {
        area.top = anchor.top - heightInCells * h;
        area.bottom = anchor.top;
    } else {
        area.top = anchor.bottom;
        area.bottom = anchor.bottom + heightInCells * h;
    }
    area.right = anchor.right;
    area.left = anchor.right - 2 * (GetSystemMetrics(SM_CXSCREEN) / 3);
    return area;
}

}  // namespace settings

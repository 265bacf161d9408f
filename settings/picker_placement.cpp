#include "settings/picker_placement.h"

#include "platform/windows/cwnd.h"
#include "platform/windows/styles.h"

namespace settings {
namespace {

// The width of the top-level window that holds `window`.
int TopLevelWidth(const CWnd& window) {
    HWND top = window.m_hWnd;
    while ((::GetWindowLong(top, GWL_STYLE) & WS_CHILD) != 0 && ::GetParent(top) != nullptr) {
        top = ::GetParent(top);
    }
    RECT rect{};
    ::GetWindowRect(top, &rect);
    return rect.right - rect.left;
}

}  // namespace

CRect PlacePicker(const CWnd& tree, const RECT& cell, int heightInCells) {
    CRect treeClient(0, 0, 0, 0);
    tree.GetClientRect(&treeClient);
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
    area.left = anchor.right - 2 * (TopLevelWidth(tree) / 3);
    return area;
}

}  // namespace settings

// Window geometry: rectangles, moving and resizing, coordinate conversion and hit-testing.
#include <algorithm>

#include "platform/windows/backend.h"
#include "platform/windows/message_queue.h"
#include "platform/windows/painting.h"
#include "platform/windows/window_tree.h"

using platform::FindWindowRecord;
using platform::WindowRecord;

namespace {

SIZE ClientSize(const WindowRecord& record) {
    const RECT client = platform::ClientAreaInWindow(record);
    return SIZE{client.right - client.left, client.bottom - client.top};
}

// The client size a window's program sees: without the strip its bottom bar keeps.
SIZE SizeAboveBottomBar(const WindowRecord& record) {
    const SIZE size = ClientSize(record);
    return SIZE{size.cx, std::max(0, size.cy - platform::BottomBarHeight(record))};
}

// Lays the bottom bar across the bottom strip of its window's whole client area.
void PlaceBottomBar(const WindowRecord& record, int height) {
    const SIZE size = ClientSize(record);
    SetWindowPos(record.bottomBar, nullptr, 0, std::max(0, size.cy - height), size.cx, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// The deepest shown, enabled child under a point given in the parent's client coordinates.
// Children are seen only through their parent's client area: a point on the parent's frame or
// scroll bar is the parent's.
HWND ChildUnderPoint(HWND parent, POINT clientPoint) {
    const WindowRecord* record = FindWindowRecord(parent);
    if (record == nullptr) return parent;
    const SIZE clientSize = ClientSize(*record);
    const RECT client{0, 0, clientSize.cx, clientSize.cy};
    if (!PtInRect(&client, clientPoint)) return parent;
    for (auto child = record->children.rbegin(); child != record->children.rend(); ++child) {
        const WindowRecord* childRecord = FindWindowRecord(*child);
        if (childRecord == nullptr || (childRecord->style & WS_VISIBLE) == 0 ||
            (childRecord->style & WS_DISABLED) != 0 || !PtInRect(&childRecord->rect, clientPoint)) {
            continue;
        }
        const RECT client = platform::ClientAreaInWindow(*childRecord);
        const POINT inChild{clientPoint.x - childRecord->rect.left - client.left,
                            clientPoint.y - childRecord->rect.top - client.top};
        return ChildUnderPoint(*child, inChild);
    }
    return parent;
}

}  // namespace

BOOL GetWindowRect(HWND hwnd, RECT* rect) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || rect == nullptr) return FALSE;
    if (platform::IsTopLevel(*record)) {
        *rect = record->rect;
        return TRUE;
    }
    const POINT parentOrigin = platform::ClientOriginOnScreen(record->parent);
    *rect = record->rect;
    OffsetRect(rect, parentOrigin.x, parentOrigin.y);
    return TRUE;
}

BOOL GetClientRect(HWND hwnd, RECT* rect) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || rect == nullptr) return FALSE;
    const SIZE size = SizeAboveBottomBar(*record);
    *rect = RECT{0, 0, size.cx, size.cy};
    return TRUE;
}

BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint) {
    return SetWindowPos(hwnd, nullptr, x, y, width, height,
                        SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0u : SWP_NOREDRAW));
}

BOOL SetWindowPos(HWND hwnd, HWND /*insertAfter*/, int x, int y, int width, int height,
                  UINT flags) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    const RECT before = record->rect;
    const SIZE clientBefore = SizeAboveBottomBar(*record);
    RECT after = before;
    if ((flags & SWP_NOMOVE) == 0) OffsetRect(&after, x - before.left, y - before.top);
    if ((flags & SWP_NOSIZE) == 0) {
        after.right = after.left + std::max(0, width);
        after.bottom = after.top + std::max(0, height);
    }
    const bool moved = after.left != before.left || after.top != before.top;
    const bool resized = (after.right - after.left) != (before.right - before.left) ||
                         (after.bottom - after.top) != (before.bottom - before.top);
    const bool frameChanged = (flags & SWP_FRAMECHANGED) != 0;
    record->rect = after;
    const bool topLevel = platform::IsTopLevel(*record);
    const bool shown = (record->style & WS_VISIBLE) != 0;

    if (topLevel && resized) platform::ResizeSurface(*record);
    if (shown && (flags & SWP_NOREDRAW) == 0 && (moved || resized || frameChanged)) {
        // A child's pixels live in its top-level window's surface: wherever it moves, it is
        // drawn anew and the parent repaints the place it left.
        if (!topLevel) {
            RECT exposed = before;
            InvalidateRect(record->parent, &exposed, TRUE);
        }
        if (!topLevel || resized || frameChanged) platform::InvalidateWholeWindow(hwnd);
    }
    if (topLevel && (moved || resized || frameChanged)) {
        platform::CurrentBackend()->TopLevelChanged(hwnd);
    }

    if (resized && FindWindowRecord(record->bottomBar) != nullptr) {
        const WindowRecord* bar = FindWindowRecord(record->bottomBar);
        PlaceBottomBar(*record, bar->rect.bottom - bar->rect.top);
    }
    if (moved) platform::DeliverMessage(hwnd, WM_MOVE, 0, MAKELPARAM(after.left, after.top));
    record = FindWindowRecord(hwnd);
    if (record == nullptr) return TRUE;
    const SIZE clientAfter = SizeAboveBottomBar(*record);
    if (clientAfter.cx != clientBefore.cx || clientAfter.cy != clientBefore.cy) {
        platform::DeliverMessage(hwnd, WM_SIZE, SIZE_RESTORED,
                                 MAKELPARAM(clientAfter.cx, clientAfter.cy));
    }
    if ((flags & SWP_SHOWWINDOW) != 0)
        ShowWindow(hwnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
    if ((flags & SWP_HIDEWINDOW) != 0) ShowWindow(hwnd, SW_HIDE);
    return TRUE;
}

BOOL SetBottomBar(HWND hwnd, HWND bar, int height) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    if (bar != nullptr) {
        const WindowRecord* barRecord = FindWindowRecord(bar);
        if (barRecord == nullptr || barRecord->parent != hwnd || height < 0) return FALSE;
    }
    const SIZE before = SizeAboveBottomBar(*record);
    record->bottomBar = bar;
    if (bar != nullptr) PlaceBottomBar(*record, height);
    record = FindWindowRecord(hwnd);
    if (record == nullptr) return TRUE;
    const SIZE after = SizeAboveBottomBar(*record);
    if (after.cx != before.cx || after.cy != before.cy) {
        platform::DeliverMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(after.cx, after.cy));
    }
    return TRUE;
}

HWND GetBottomBar(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || FindWindowRecord(record->bottomBar) == nullptr) return nullptr;
    return record->bottomBar;
}

BOOL ClientToScreen(HWND hwnd, POINT* point) {
    if (FindWindowRecord(hwnd) == nullptr || point == nullptr) return FALSE;
    const POINT origin = platform::ClientOriginOnScreen(hwnd);
    point->x += origin.x;
    point->y += origin.y;
    return TRUE;
}

BOOL ScreenToClient(HWND hwnd, POINT* point) {
    if (FindWindowRecord(hwnd) == nullptr || point == nullptr) return FALSE;
    const POINT origin = platform::ClientOriginOnScreen(hwnd);
    point->x -= origin.x;
    point->y -= origin.y;
    return TRUE;
}

HWND WindowFromPoint(POINT screenPoint) {
    const std::vector<HWND>& topLevels = platform::TopLevelWindows();
    // The active window lies on top of the others; then later windows over earlier ones.
    std::vector<HWND> order(topLevels.begin(), topLevels.end());
    if (auto active = std::find(order.begin(), order.end(), GetActiveWindow());
        active != order.end()) {
        std::rotate(active, active + 1, order.end());
    }
    for (auto topLevel = order.rbegin(); topLevel != order.rend(); ++topLevel) {
        const WindowRecord* record = FindWindowRecord(*topLevel);
        if (record == nullptr || (record->style & WS_VISIBLE) == 0 ||
            !PtInRect(&record->rect, screenPoint)) {
            continue;
        }
        POINT clientPoint = screenPoint;
        ScreenToClient(*topLevel, &clientPoint);
        return ChildUnderPoint(*topLevel, clientPoint);
    }
    return nullptr;
}

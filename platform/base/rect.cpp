#include "platform/base/rect.h"

#include <algorithm>

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom) {
    if (rect == nullptr) return FALSE;
    *rect = RECT{left, top, right, bottom};
    return TRUE;
}

BOOL SetRectEmpty(RECT* rect) { return SetRect(rect, 0, 0, 0, 0); }

BOOL IsRectEmpty(const RECT* rect) {
    return rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top;
}

BOOL PtInRect(const RECT* rect, POINT point) {
    return rect != nullptr && point.x >= rect->left && point.x < rect->right &&
           point.y >= rect->top && point.y < rect->bottom;
}

BOOL OffsetRect(RECT* rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left += dx;
    rect->right += dx;
    rect->top += dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL InflateRect(RECT* rect, int dx, int dy) {
    if (rect == nullptr) return FALSE;
    rect->left -= dx;
    rect->right += dx;
    rect->top -= dy;
    rect->bottom += dy;
    return TRUE;
}

BOOL IntersectRect(RECT* result, const RECT* first, const RECT* second) {
    if (result == nullptr || first == nullptr || second == nullptr) return FALSE;
    RECT overlap{std::max(first->left, second->left), std::max(first->top, second->top),
                 std::min(first->right, second->right), std::min(first->bottom, second->bottom)};
    if (IsRectEmpty(&overlap)) {
        *result = RECT{};
        return FALSE;
    }
    *result = overlap;
    return TRUE;
}

BOOL UnionRect(RECT* result, const RECT* first, const RECT* second) {
    if (result == nullptr || first == nullptr || second == nullptr) return FALSE;
    if (IsRectEmpty(first)) {
        *result = IsRectEmpty(second) ? RECT{} : *second;
    } else if (IsRectEmpty(second)) {
        *result = *first;
    } else {
        *result =
            RECT{std::min(first->left, second->left), std::min(first->top, second->top),
                 std::max(first->right, second->right), std::max(first->bottom, second->bottom)};
    }
    return !IsRectEmpty(result);
}

BOOL EqualRect(const RECT* first, const RECT* second) {
    return first != nullptr && second != nullptr && first->left == second->left &&
           first->top == second->top && first->right == second->right &&
           first->bottom == second->bottom;
}

// Rectangle and point helpers of the platform (the free functions and the framework's
// CRect, CPoint and CSize). Right and bottom edges are exclusive throughout.
#pragma once

#include "platform/base/win_types.h"

BOOL SetRect(RECT* rect, int left, int top, int right, int bottom);
BOOL SetRectEmpty(RECT* rect);
BOOL IsRectEmpty(const RECT* rect);
BOOL PtInRect(const RECT* rect, POINT point);
BOOL OffsetRect(RECT* rect, int dx, int dy);
BOOL InflateRect(RECT* rect, int dx, int dy);
// Returns FALSE and an empty result when the two do not overlap.
BOOL IntersectRect(RECT* result, const RECT* first, const RECT* second);
// An empty rectangle contributes nothing to the union.
BOOL UnionRect(RECT* result, const RECT* first, const RECT* second);
BOOL EqualRect(const RECT* first, const RECT* second);

class CPoint : public POINT {
  public:
    CPoint() = default;
    CPoint(int xValue, int yValue) : POINT{xValue, yValue} {}
    CPoint(POINT point) : POINT(point) {}  // NOLINT(google-explicit-constructor)
    bool operator==(const CPoint& other) const { return x == other.x && y == other.y; }
};

class CSize : public SIZE {
  public:
    CSize() = default;
    CSize(int width, int height) : SIZE{width, height} {}
    CSize(SIZE size) : SIZE(size) {}  // NOLINT(google-explicit-constructor)
};

class CRect : public RECT {
  public:
    CRect() = default;
    CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
    CRect(const RECT& rect) : RECT(rect) {}  // NOLINT(google-explicit-constructor)
    CRect(POINT topLeft, SIZE size)
        : RECT{topLeft.x, topLeft.y, topLeft.x + size.cx, topLeft.y + size.cy} {}

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    CSize Size() const { return {Width(), Height()}; }
    CPoint TopLeft() const { return {left, top}; }
    CPoint BottomRight() const { return {right, bottom}; }
    CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }
    BOOL IsRectEmpty() const { return ::IsRectEmpty(this); }
    BOOL PtInRect(POINT point) const { return ::PtInRect(this, point); }
    void SetRect(int l, int t, int r, int b) { ::SetRect(this, l, t, r, b); }
    void OffsetRect(int dx, int dy) { ::OffsetRect(this, dx, dy); }
    void DeflateRect(int dx, int dy) { ::InflateRect(this, -dx, -dy); }
    void InflateRect(int dx, int dy) { ::InflateRect(this, dx, dy); }
    BOOL IntersectRect(const RECT* first, const RECT* second) {
        return ::IntersectRect(this, first, second);
    }
    bool operator==(const RECT& other) const { return ::EqualRect(this, &other) != FALSE; }
};

// Drawing helpers of the property tree and its rows: system colours, and solid brushes and pens
// made just before each use and deleted right after it. A brush or pen that cannot be made is
// skipped together with what it would have drawn.
#pragma once

#include <initializer_list>

#include "platform/graphics/gdi_classes.h"

namespace settings {

// The colour of a system-colour index, read through the system-colour flag.
COLORREF SysColor(int colorIndex);

// Fills `rect` with a solid brush of a system colour.
void FillWithSysColor(CDC& dc, const RECT& rect, int colorIndex);

// Draws a one-pixel polyline in a system colour: a move to the first point, then a line to each
// of the others (the last point itself is not painted).
void DrawSysColorLine(CDC& dc, int colorIndex, std::initializer_list<POINT> points);

}  // namespace settings

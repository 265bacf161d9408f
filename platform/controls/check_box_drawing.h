// The box of a check box: where it sits in the control and how its tick is drawn.
#pragma once

#include "platform/graphics/gdi_classes.h"

namespace platform {

// The square box at the left edge of a check box's client area, vertically centred: big enough
// for a finger at the display's density, never taller than the control.
CRect CheckBoxSquare(const RECT& client);

// A tick inside `box`, in strokes about an eighth of the box thick.
void DrawCheckMark(CDC& dc, const RECT& box, COLORREF color);

}  // namespace platform

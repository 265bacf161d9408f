// Where a picker opens for a tree row: a number of cell heights below the row's value cell, or
// above it where the tree has no room below, two thirds of the editor's window wide (on a
// handheld, where the window fills the screen, two thirds of the screen) and flush with the
// cell's right end.
#pragma once

#include "platform/base/rect.h"

class CWnd;

namespace settings {

// `cell` is the row's value cell in the tree's client coordinates; a cell cut off at the tree's
// bottom places the picker by the row before it. The result is in the same coordinates.
CRect PlacePicker(const CWnd& tree, const RECT& cell, int heightInCells);

}  // namespace settings

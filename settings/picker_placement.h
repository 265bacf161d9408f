// Where a picker opens for a tree row: a number of cell heights below the row's value cell, or
// above it where the tree has no room below, two thirds of the screen wide and flush with the
// cell's right end.
#pragma once

#include "platform/base/rect.h"

namespace settings {

// `treeClient` is the tree's client rectangle and `cell` the row's value cell, both in the tree's
// client coordinates; a cell cut off at the tree's bottom places the picker by the row before it.
CRect PlacePicker(const CRect& treeClient, const RECT& cell, int heightInCells);

}  // namespace settings

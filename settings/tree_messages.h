// The messages the property tree and its items send to the tree's parent window.
#pragma once

#include "platform/windows/messages.h"

// An item ended an edit; wParam is the item (CSPMobTreeItem*), lParam 0.
constexpr UINT WM_TREE_ITEM_CHANGED = WM_USER + 1;
// An item became the selected item; wParam and lParam are 0.
constexpr UINT WM_TREE_SELECTION_CHANGED = WM_USER + 2;

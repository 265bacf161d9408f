// Invalidation, frames (borders and captions) and presenting surfaces. Internal to the window
// system.
#pragma once

#include "platform/windows/window_tree.h"

namespace platform {

// The next window that needs WM_PAINT; frames that need drawing are drawn on the way.
HWND NextWindowToPaint();
// Marks the whole window, its frame and its children for repainting.
void InvalidateWholeWindow(HWND hwnd);
// Marks part of a top-level window's surface (surface coordinates) as changed.
void AddPresentDirty(HWND topLevel, const RECT& area);
// Hands the changed parts of every shown top-level window to the backend.
void PresentDirtyWindows();
// (Re)allocates a top-level window's surface for its current size.
void ResizeSurface(WindowRecord& record);

}  // namespace platform

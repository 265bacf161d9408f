// Invalidation, frames (borders and captions) and presenting surfaces. Internal to the window
// system.
#pragma once

#include "platform/windows/window_tree.h"

namespace platform {

// The next window that needs WM_PAINT; frames that need drawing are drawn on the way.
HWND NextWindowToPaint();
// Marks the whole window, its frame and its children for repainting.
void InvalidateWholeWindow(HWND hwnd);
// Marks only the window's frame (borders, caption, scroll bar) for repainting.
void InvalidateFrame(HWND hwnd);
// Draws the window's frame now if it is marked.
void PaintFrameIfDirty(HWND hwnd);
// Delivers WM_PAINT. A window that leaves its update area alone is not asked again; one that
// invalidates itself again after BeginPaint (a frame change while painting) is.
void DeliverPaint(HWND hwnd);
// Marks part of a top-level window's surface (surface coordinates) as changed.
void AddPresentDirty(HWND topLevel, const RECT& area);
// Hands the changed parts of every shown top-level window to the backend.
void PresentDirtyWindows();
// (Re)allocates a top-level window's surface for its current size.
void ResizeSurface(WindowRecord& record);

}  // namespace platform

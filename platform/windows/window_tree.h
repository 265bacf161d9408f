// The window records behind window handles, their tree and their geometry. Internal to the
// window system: programs use window_api.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/surface.h"
#include "platform/windows/window_api.h"

class CWnd;

namespace platform {

struct WindowClass {
    std::wstring name;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
    HICON icon = nullptr;
};

// The parts of a scroll bar a stylus can press.
enum class ScrollBarPart { Nowhere, UpArrow, DownArrow, PageUp, PageDown, Thumb };

struct ScrollBarState {
    int minimum = 0;
    int maximum = 0;
    UINT page = 0;
    int position = 0;
    // While the thumb is dragged it shows the tracked position, not the window's own.
    bool thumbHeld = false;
    int trackPosition = 0;
    ScrollBarPart shownPressed = ScrollBarPart::Nowhere;  // an arrow held under the stylus
};

struct WindowRecord {
    HWND handle = nullptr;
    const WindowClass* windowClass = nullptr;
    std::wstring text;
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT rect{};  // relative to the parent's client area; screen coordinates for top-level windows
    HWND parent = nullptr;
    HWND owner = nullptr;
    std::vector<HWND> children;  // in creation order; later ones lie on top
    int id = 0;
    CWnd* object = nullptr;  // the framework object that receives the messages, if any
    LONG userData = 0;
    HWND bottomBar = nullptr;  // a child bar keeping the bottom strip of the client area
    HWND lastFocus = nullptr;  // top-level windows: the descendant that had the focus when it
                               // was last deactivated, to have it again on activation

    bool hasUpdate = false;
    bool eraseUpdate = false;
    RECT update{};  // client coordinates
    bool frameDirty = false;
    unsigned paintCount =
        0;  // BeginPaint calls, to tell a window that painted from one that did not
    bool destroying = false;

    std::unique_ptr<Surface> surface;  // top-level windows: the picture of the whole window
    RECT presentDirty{};               // top-level windows: changed since last shown

    HFONT font = nullptr;
    HICON bigIcon = nullptr;
    HICON smallIcon = nullptr;
    ScrollBarState verticalScroll;
    ScrollBarState horizontalScroll;
    bool captionOkPressed = false;  // the caption's ok button shown held under the stylus
};

// Records.
WindowRecord* FindWindowRecord(HWND hwnd);
WindowRecord& NewWindowRecord();
void EraseWindowRecord(HWND hwnd);
// Top-level windows in creation order.
const std::vector<HWND>& TopLevelWindows();
void AddTopLevel(HWND hwnd);
void RemoveTopLevel(HWND hwnd);
// Every live window, parents before their children (painting order).
std::vector<HWND> WindowsInPaintOrder();

// Geometry.
HWND TopLevelOf(HWND hwnd);
bool IsTopLevel(const WindowRecord& record);
// The client area inside the window rectangle (borders, caption and scroll bars excluded), in
// coordinates relative to the window's top-left corner.
RECT ClientAreaInWindow(const WindowRecord& record);
// The height of the strip a window's bottom bar keeps (0 without a live, shown bar): the client
// area the window's program sees ends above it.
int BottomBarHeight(const WindowRecord& record);
// The window's top-left corner in its top-level window's surface.
POINT WindowOriginInSurface(HWND hwnd);
// The client area in its top-level window's surface, clipped by every ancestor's client area.
RECT VisibleClientInSurface(HWND hwnd);
// The client area's top-left corner in screen coordinates.
POINT ClientOriginOnScreen(HWND hwnd);
// Shown on screen: itself and every ancestor visible.
bool IsShown(HWND hwnd);
// A top-level window that a backend puts on screen: shown, and of some size.
bool NeedsScreenWindow(HWND hwnd);
bool IsEnabledForInput(HWND hwnd);
bool IsDescendantOf(HWND hwnd, HWND ancestor);

// Window classes.
const WindowClass* FindWindowClass(const std::wstring& name);

// The framework's hook: the object to attach to the next window created, before WM_CREATE.
void SetObjectForNextWindow(CWnd* object);

}  // namespace platform

// The window system's functions: window classes, creation and destruction, geometry, messages
// and the message queue, painting, focus, capture, timers and message boxes.
#pragma once

#include <string>

#include "platform/base/rect.h"
#include "platform/base/win_types.h"
#include "platform/graphics/gdi.h"
#include "platform/windows/messages.h"
#include "platform/windows/styles.h"

using WNDPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM);
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using ATOM = WORD;

struct WNDCLASS {
    UINT style = 0;
    WNDPROC lpfnWndProc = nullptr;
    HINSTANCE hInstance = nullptr;
    HICON hIcon = nullptr;
    HCURSOR hCursor = nullptr;
    HBRUSH hbrBackground = nullptr;
    const wchar_t* lpszClassName = nullptr;
};

struct CREATESTRUCT {
    void* lpCreateParams = nullptr;
    HINSTANCE hInstance = nullptr;
    HMENU hMenu = nullptr;
    HWND hwndParent = nullptr;
    int cy = 0;
    int cx = 0;
    int y = 0;
    int x = 0;
    LONG style = 0;
    const wchar_t* lpszName = nullptr;
    const wchar_t* lpszClass = nullptr;
    DWORD dwExStyle = 0;
};
using LPCREATESTRUCT = CREATESTRUCT*;

struct PAINTSTRUCT {
    HDC hdc = nullptr;
    BOOL fErase = FALSE;
    RECT rcPaint{};
};

// Window classes. A class name can be registered once per process.
ATOM RegisterClass(const WNDCLASS* windowClass);
BOOL GetClassInfo(HINSTANCE instance, const wchar_t* className, WNDCLASS* windowClass);
HCURSOR LoadCursor(HINSTANCE instance, const wchar_t* cursorName);
extern const wchar_t* const IDC_ARROW;

// Creation and destruction. For a child window the id travels in the menu argument.
HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE instance, void* param);
BOOL DestroyWindow(HWND hwnd);
BOOL IsWindow(HWND hwnd);
LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Tree and attributes.
HWND GetParent(HWND hwnd);
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_CHILD = 5;
// The first child (GW_CHILD) or the next sibling (GW_HWNDNEXT), in creation order.
HWND GetWindow(HWND hwnd, UINT relation);
BOOL IsChild(HWND parent, HWND hwnd);
HWND GetDlgItem(HWND parent, int id);
int GetDlgCtrlID(HWND hwnd);
LONG GetWindowLong(HWND hwnd, int index);
LONG SetWindowLong(HWND hwnd, int index, LONG value);
// Every text is wide, so the wide names are the same calls.
inline LONG GetWindowLongW(HWND hwnd, int index) { return GetWindowLong(hwnd, index); }
inline LONG SetWindowLongW(HWND hwnd, int index, LONG value) {
    return SetWindowLong(hwnd, index, value);
}
BOOL SetWindowText(HWND hwnd, const wchar_t* text);
int GetWindowText(HWND hwnd, wchar_t* buffer, int bufferLength);
int GetWindowTextLength(HWND hwnd);
BOOL ShowWindow(HWND hwnd, int command);
BOOL IsWindowVisible(HWND hwnd);
BOOL EnableWindow(HWND hwnd, BOOL enable);
BOOL IsWindowEnabled(HWND hwnd);

// Geometry. Window rectangles are in screen coordinates; client rectangles start at (0, 0).
BOOL GetWindowRect(HWND hwnd, RECT* rect);
BOOL GetClientRect(HWND hwnd, RECT* rect);
// Position relative to the parent's client area (the screen for top-level windows). A negative
// width or height becomes 0.
BOOL MoveWindow(HWND hwnd, int x, int y, int width, int height, BOOL repaint);
BOOL SetWindowPos(HWND hwnd, HWND insertAfter, int x, int y, int width, int height, UINT flags);
// Gives a child bar (a menu bar) the bottom strip of the window's client area, `height` pixels
// high across its width: GetClientRect and WM_SIZE then report only the area above the bar, the
// bar follows the window's size, and the keys of the window's top level are offered to it after
// the windows under them. A null bar gives the strip back. Fails unless `bar` is a child of
// `hwnd`.
BOOL SetBottomBar(HWND hwnd, HWND bar, int height);
// The window's bottom bar, or null.
HWND GetBottomBar(HWND hwnd);
BOOL ClientToScreen(HWND hwnd, POINT* point);
BOOL ScreenToClient(HWND hwnd, POINT* point);
HWND WindowFromPoint(POINT screenPoint);

// Messages.
LRESULT SendMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
inline LRESULT SendMessageW(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return SendMessage(hwnd, message, wParam, lParam);
}
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
// Waits for the next message; FALSE when it is WM_QUIT.
BOOL GetMessage(MSG* message, HWND hwnd, UINT filterMin, UINT filterMax);
BOOL PeekMessage(MSG* message, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeFlags);
BOOL TranslateMessage(const MSG* message);
LRESULT DispatchMessage(const MSG* message);

// Painting.
BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase);
BOOL ValidateRect(HWND hwnd, const RECT* rect);
BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL erase);
BOOL UpdateWindow(HWND hwnd);
BOOL RedrawWindow(HWND hwnd, const RECT* rect, void* region, UINT flags);
HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint);
BOOL EndPaint(HWND hwnd, const PAINTSTRUCT* paint);
HDC GetDC(HWND hwnd);
int ReleaseDC(HWND hwnd, HDC hdc);

// Keyboard focus, activation and stylus capture.
HWND SetFocus(HWND hwnd);
HWND GetFocus();
HWND SetActiveWindow(HWND hwnd);
HWND GetActiveWindow();
BOOL SetForegroundWindow(HWND hwnd);
HWND GetForegroundWindow();
HWND SetCapture(HWND hwnd);
BOOL ReleaseCapture();
HWND GetCapture();
// Whether a key was down (high bit set: the result is negative) when the message being handled
// was taken from the queue; the low bit flips with every press.
SHORT GetKeyState(int virtualKey);

// Timers and the tick counter (milliseconds, wrapping at 2^32).
UINT_PTR SetTimer(HWND hwnd, UINT_PTR id, UINT elapse, TIMERPROC procedure);
BOOL KillTimer(HWND hwnd, UINT_PTR id);
DWORD GetTickCount();

// Scroll bars of a window (WS_VSCROLL, WS_HSCROLL): range, page and position.
constexpr int SB_HORZ = 0;
constexpr int SB_VERT = 1;
constexpr UINT SIF_RANGE = 0x0001;
constexpr UINT SIF_PAGE = 0x0002;
constexpr UINT SIF_POS = 0x0004;
constexpr UINT SIF_DISABLENOSCROLL = 0x0008;
constexpr UINT SIF_TRACKPOS = 0x0010;
constexpr UINT SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
struct SCROLLINFO {
    UINT cbSize = sizeof(SCROLLINFO);
    UINT fMask = 0;
    int nMin = 0;
    int nMax = 0;
    UINT nPage = 0;
    int nPos = 0;
    int nTrackPos = 0;
};
// Sets what the mask names; the position is kept within the range less the page. Returns the
// new position.
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO* info, BOOL redraw);
BOOL GetScrollInfo(HWND hwnd, int bar, SCROLLINFO* info);
// Returns the previous position.
int SetScrollPos(HWND hwnd, int bar, int position, BOOL redraw);
int GetScrollPos(HWND hwnd, int bar);

// A modal message box; returns the button chosen (IDOK for MB_OK).
int MessageBox(HWND owner, const wchar_t* text, const wchar_t* caption, UINT type);

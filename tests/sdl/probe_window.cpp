// The test window of the SDL backend suite: records messages as text, paints one colour.
#include "sdl/probe_window.h"

#include <cstdint>

#include "platform/windows/window_dc.h"

namespace {

std::string Pair(LPARAM value, const char* separator) {
    const auto low = static_cast<std::int16_t>(LOWORD(static_cast<std::uintptr_t>(value)));
    const auto high = static_cast<std::int16_t>(HIWORD(static_cast<std::uintptr_t>(value)));
    return std::to_string(low) + separator + std::to_string(high);
}

}  // namespace

BOOL ProbeWindow::CreateTopLevel(const RECT& rect, DWORD style, const wchar_t* title,
                                 DWORD exStyle) {
    return CreateEx(exStyle, AfxRegisterWndClass(0), title, style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
}

BOOL ProbeWindow::CreateChild(CWnd* parent, const RECT& rect) {
    return Create(AfxRegisterWndClass(0), L"", WS_CHILD | WS_VISIBLE, rect, parent, 1);
}

LRESULT ProbeWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_LBUTTONDOWN:
            Record("down " + Pair(lParam, ","));
            return 0;
        case WM_MOUSEMOVE:
            Record("move " + Pair(lParam, ","));
            return 0;
        case WM_LBUTTONUP:
            Record("up " + Pair(lParam, ","));
            return 0;
        case WM_KEYDOWN:
            Record("keydown " + std::to_string(wParam));
            return 0;
        case WM_KEYUP:
            Record("keyup " + std::to_string(wParam));
            return 0;
        case WM_CHAR:
            Record("char " + std::to_string(wParam));
            return 0;
        case WM_ACTIVATE:
            Record(LOWORD(wParam) == WA_INACTIVE ? "inactive" : "active");
            break;
        case WM_CLOSE:
            Record("close");
            break;
        case WM_DISPLAYCHANGE:
            Record("display " + Pair(lParam, "x"));
            return 0;
        case WM_SIZE:
            Record("size " + Pair(lParam, "x"));
            break;
        case WM_PAINT: {
            CPaintDC dc(this);
            RECT client{};
            GetClientRect(&client);
            dc.FillSolidRect(&client, color);
            return 0;
        }
        default:
            break;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

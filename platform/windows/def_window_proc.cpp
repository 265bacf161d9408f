// The default processing of messages, for windows whose handlers leave a message to the system.
#include <algorithm>
#include <cstring>

#include "platform/windows/backend.h"
#include "platform/windows/caption_button_input.h"
#include "platform/windows/scroll_bar_input.h"
#include "platform/windows/window_tree.h"

using platform::FindWindowRecord;
using platform::WindowRecord;

namespace {

LRESULT SwapIcon(WindowRecord& record, WPARAM kind, HICON icon) {
    HICON& slot = kind == ICON_BIG ? record.bigIcon : record.smallIcon;
    HICON previous = slot;
    slot = icon;
    return reinterpret_cast<LRESULT>(previous);
}

}  // namespace

LRESULT DefWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return 0;
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint{};
            BeginPaint(hwnd, &paint);
            EndPaint(hwnd, &paint);
            return 0;
        }
        case WM_ERASEBKGND: {
            if (record->windowClass->background == nullptr) return 0;
            RECT client{};
            GetClientRect(hwnd, &client);
            FillRect(reinterpret_cast<HDC>(wParam), &client, record->windowClass->background);
            return 1;
        }
        case WM_CLOSE:
            DestroyWindow(hwnd);
            return 0;
        case WM_SETTEXT:
            record->text = lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"";
            if ((record->style & WS_CAPTION) == WS_CAPTION) record->frameDirty = true;
            // The outside world shows a top-level window's text as its title.
            if (platform::IsTopLevel(*record)) platform::CurrentBackend()->TopLevelChanged(hwnd);
            return TRUE;
        case WM_GETTEXT: {
            auto* buffer = reinterpret_cast<wchar_t*>(lParam);
            const auto capacity = static_cast<std::size_t>(wParam);
            if (buffer == nullptr || capacity == 0) return 0;
            const std::size_t count = std::min(capacity - 1, record->text.size());
            std::wmemcpy(buffer, record->text.data(), count);
            buffer[count] = L'\0';
            return static_cast<LRESULT>(count);
        }
        case WM_GETTEXTLENGTH:
            return static_cast<LRESULT>(record->text.size());
        case WM_SETFONT:
            record->font = reinterpret_cast<HFONT>(wParam);
            if (lParam != 0) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return reinterpret_cast<LRESULT>(record->font);
        case WM_SETICON: {
            const LRESULT previous = SwapIcon(*record, wParam, reinterpret_cast<HICON>(lParam));
            // The outside world shows a top-level window's icon (in a task bar, say).
            if (platform::IsTopLevel(*record)) platform::CurrentBackend()->TopLevelChanged(hwnd);
            return previous;
        }
        case WM_GETICON:
            return reinterpret_cast<LRESULT>(wParam == ICON_BIG ? record->bigIcon
                                                                : record->smallIcon);
        // The window system's own scroll bar and caption ok button answer the stylus on them.
        case WM_NCLBUTTONDOWN:
        case WM_NCMOUSEMOVE:
        case WM_NCLBUTTONUP: {
            const POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            if (wParam == HTVSCROLL) {
                if (message == WM_NCLBUTTONDOWN) platform::ScrollBarStylusDown(hwnd, point);
                if (message == WM_NCMOUSEMOVE) platform::ScrollBarStylusMove(hwnd, point);
                if (message == WM_NCLBUTTONUP) platform::ScrollBarStylusUp(hwnd, point);
            } else if (wParam == HTCLOSE) {
                if (message == WM_NCLBUTTONDOWN) platform::CaptionOkButtonStylusDown(hwnd, point);
                if (message == WM_NCMOUSEMOVE) platform::CaptionOkButtonStylusMove(hwnd, point);
                if (message == WM_NCLBUTTONUP) platform::CaptionOkButtonStylusUp(hwnd, point);
            }
            return 0;
        }
        case WM_ACTIVATE:
            // An activated window gives the keyboard focus back to the child that had it when
            // the window was left (a message box came and went), else takes it itself, unless
            // one of its children has it already.
            if (LOWORD(wParam) != WA_INACTIVE && !platform::IsDescendantOf(GetFocus(), hwnd)) {
                const HWND last = record->lastFocus;
                const bool lastCanHaveIt = last != nullptr && IsWindow(last) &&
                                           platform::IsDescendantOf(last, hwnd) &&
                                           IsWindowVisible(last) && IsWindowEnabled(last);
                SetFocus(lastCanHaveIt ? last : hwnd);
            }
            return 0;
        default:
            return 0;
    }
}

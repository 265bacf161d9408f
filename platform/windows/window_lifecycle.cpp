// Creating and destroying windows, and their attributes: parent, identifier, styles, text,
// visibility and enabled state.
#include <algorithm>

#include "platform/windows/backend.h"
#include "platform/windows/caption_button_input.h"
#include "platform/windows/caption_layout.h"
#include "platform/windows/cwnd.h"
#include "platform/windows/focus_state.h"
#include "platform/windows/message_queue.h"
#include "platform/windows/painting.h"
#include "platform/windows/scroll_bar_input.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

thread_local CWnd* objectForNextWindow = nullptr;

CWnd* TakeObjectForNextWindow() {
    CWnd* object = objectForNextWindow;
    objectForNextWindow = nullptr;
    return object;
}

void NotifyBackendIfTopLevel(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record != nullptr && IsTopLevel(*record)) CurrentBackend()->TopLevelChanged(hwnd);
}

// Repaints what lay under a child window that moved away or disappeared.
void ExposeParentArea(const WindowRecord& record) {
    if (record.parent == nullptr) return;
    InvalidateRect(record.parent, &record.rect, TRUE);
}

void DestroyTree(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    // The window receives WM_DESTROY while its children still exist; they go after it.
    DeliverMessage(hwnd, WM_DESTROY, 0, 0);
    record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    const std::vector<HWND> children = record->children;
    for (HWND child : children) {
        if (WindowRecord* childRecord = FindWindowRecord(child)) {
            if (!childRecord->destroying) {
                childRecord->destroying = true;
                DestroyTree(child);
            }
        }
    }
    ForgetWindowMessages(hwnd);
    ForgetScrollBarHold(hwnd);
    ForgetCaptionOkButtonHold(hwnd);
    ForgetFocusOf(hwnd);
    DeliverMessage(hwnd, WM_NCDESTROY, 0, 0);

    record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    if (CWnd* object = record->object) {
        record->object = nullptr;
        object->m_hWnd = nullptr;
        object->PostNcDestroy();
    }
    record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    HWND parentGivenRoomBack = nullptr;
    if (WindowRecord* parent = FindWindowRecord(record->parent)) {
        std::erase(parent->children, hwnd);
        if (parent->bottomBar == hwnd) {
            parent->bottomBar = nullptr;
            if (!parent->destroying) parentGivenRoomBack = parent->handle;
        }
    }
    const bool topLevel = IsTopLevel(*record);
    EraseWindowRecord(hwnd);
    if (const WindowRecord* parent = FindWindowRecord(parentGivenRoomBack)) {
        // A bottom bar that goes alone gives its strip back to the window's client area.
        const RECT client = ClientAreaInWindow(*parent);
        DeliverMessage(parentGivenRoomBack, WM_SIZE, SIZE_RESTORED,
                       MAKELPARAM(client.right - client.left, client.bottom - client.top));
    }
    if (topLevel) {
        RemoveTopLevel(hwnd);
        CurrentBackend()->TopLevelDestroyed(hwnd);
    }
}

// Styles that change the frame, and with it the client area.
constexpr DWORD kFrameStyles = WS_CAPTION | WS_BORDER | WS_DLGFRAME | WS_VSCROLL | WS_HSCROLL;
constexpr DWORD kFrameExStyles = WS_EX_CLIENTEDGE | WS_EX_CAPTIONOKBTN;

// A style change that moves the frame takes effect at once: the client area gains or loses the
// room, the window hears its new client size, and the frame and the client are drawn again. It
// may happen while the window paints itself; the paint it causes comes after.
void ApplyFrameChange(HWND hwnd, const RECT& clientBefore) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    const bool scrollBarGone = (record->style & WS_VSCROLL) == 0;
    const bool okButtonGone = !HasCaptionOkButton(*record);
    if (scrollBarGone) EndScrollBarHold(hwnd);
    if (okButtonGone) EndCaptionOkButtonHold(hwnd);
    InvalidateWholeWindow(hwnd);
    record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    const RECT clientAfter = ClientAreaInWindow(*record);
    const int width = clientAfter.right - clientAfter.left;
    const int height = clientAfter.bottom - clientAfter.top;
    if (width != clientBefore.right - clientBefore.left ||
        height != clientBefore.bottom - clientBefore.top) {
        DeliverMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(width, height));
    }
}

}  // namespace

void SetObjectForNextWindow(CWnd* object) { objectForNextWindow = object; }

}  // namespace platform

using platform::FindWindowRecord;
using platform::WindowRecord;

HWND CreateWindowEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE instance, void* param) {
    CWnd* object = platform::TakeObjectForNextWindow();
    const platform::WindowClass* windowClass =
        className != nullptr ? platform::FindWindowClass(className) : nullptr;
    if (windowClass == nullptr) return nullptr;
    const bool child = (style & WS_CHILD) != 0;
    if (child && FindWindowRecord(parent) == nullptr) return nullptr;
    width = std::max(0, width);
    height = std::max(0, height);

    WindowRecord& record = platform::NewWindowRecord();
    HWND hwnd = record.handle;
    record.windowClass = windowClass;
    record.text = windowName != nullptr ? windowName : L"";
    record.style = style & ~WS_VISIBLE;  // shown after creation, as the platform does
    record.exStyle = exStyle;
    record.rect = RECT{x, y, x + width, y + height};
    if (child) {
        record.parent = parent;
        record.id = static_cast<int>(reinterpret_cast<std::uintptr_t>(menu));
        FindWindowRecord(parent)->children.push_back(hwnd);
    } else {
        record.owner = parent;
        platform::AddTopLevel(hwnd);
        platform::ResizeSurface(record);
    }
    if (object != nullptr) {
        record.object = object;
        object->m_hWnd = hwnd;
    }

    CREATESTRUCT create{};
    create.lpCreateParams = param;
    create.hInstance = instance;
    create.hMenu = menu;
    create.hwndParent = parent;
    create.cx = width;
    create.cy = height;
    create.x = x;
    create.y = y;
    create.style = static_cast<LONG>(style);
    create.lpszName = windowName;
    create.lpszClass = className;
    create.dwExStyle = exStyle;
    if (platform::DeliverMessage(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&create)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!IsWindow(hwnd)) return nullptr;
    RECT client{};
    GetClientRect(hwnd, &client);
    platform::DeliverMessage(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(client.right, client.bottom));
    platform::DeliverMessage(hwnd, WM_MOVE, 0, MAKELPARAM(x, y));
    if (!IsWindow(hwnd)) return nullptr;
    if ((style & WS_VISIBLE) != 0) {
        ShowWindow(hwnd, SW_SHOW);
    } else {
        platform::NotifyBackendIfTopLevel(hwnd);
    }
    return IsWindow(hwnd) ? hwnd : nullptr;
}

BOOL DestroyWindow(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    if (record->destroying) return TRUE;
    record->destroying = true;
    if ((record->style & WS_VISIBLE) != 0) platform::ExposeParentArea(*record);
    const HWND owner = record->owner;
    const bool wasActive = GetActiveWindow() == hwnd;
    platform::DestroyTree(hwnd);
    // The owner of a destroyed active window (a dialog's parent) becomes active again.
    if (wasActive && IsWindowVisible(owner) && IsWindowEnabled(owner)) SetActiveWindow(owner);
    return TRUE;
}

BOOL IsWindow(HWND hwnd) { return FindWindowRecord(hwnd) != nullptr ? TRUE : FALSE; }

HWND GetParent(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return nullptr;
    return record->parent != nullptr ? record->parent : record->owner;
}

HWND GetWindow(HWND hwnd, UINT relation) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return nullptr;
    if (relation == GW_CHILD) return record->children.empty() ? nullptr : record->children.front();
    if (relation != GW_HWNDNEXT) return nullptr;
    const WindowRecord* parent = FindWindowRecord(record->parent);
    if (parent == nullptr) return nullptr;
    auto self = std::find(parent->children.begin(), parent->children.end(), hwnd);
    return self == parent->children.end() || self + 1 == parent->children.end() ? nullptr
                                                                                : *(self + 1);
}

BOOL IsChild(HWND parent, HWND hwnd) {
    return hwnd != parent && FindWindowRecord(parent) != nullptr &&
                   platform::IsDescendantOf(hwnd, parent)
               ? TRUE
               : FALSE;
}

HWND GetDlgItem(HWND parent, int id) {
    const WindowRecord* record = FindWindowRecord(parent);
    if (record == nullptr) return nullptr;
    for (HWND child : record->children) {
        const WindowRecord* childRecord = FindWindowRecord(child);
        if (childRecord != nullptr && childRecord->id == id) return child;
    }
    return nullptr;
}

int GetDlgCtrlID(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    return record != nullptr ? record->id : 0;
}

LONG GetWindowLong(HWND hwnd, int index) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return 0;
    switch (index) {
        case GWL_STYLE:
            return static_cast<LONG>(record->style);
        case GWL_EXSTYLE:
            return static_cast<LONG>(record->exStyle);
        case GWL_ID:
            return record->id;
        case GWL_USERDATA:
            return record->userData;
        default:
            return 0;
    }
}

LONG SetWindowLong(HWND hwnd, int index, LONG value) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return 0;
    const LONG previous = GetWindowLong(hwnd, index);
    const RECT clientBefore = platform::ClientAreaInWindow(*record);
    switch (index) {
        case GWL_STYLE:
            record->style = static_cast<DWORD>(value);
            if (((static_cast<DWORD>(previous) ^ record->style) & platform::kFrameStyles) != 0) {
                platform::ApplyFrameChange(hwnd, clientBefore);
            }
            break;
        case GWL_EXSTYLE:
            record->exStyle = static_cast<DWORD>(value);
            if (((static_cast<DWORD>(previous) ^ record->exStyle) & platform::kFrameExStyles) !=
                0) {
                platform::ApplyFrameChange(hwnd, clientBefore);
            }
            break;
        case GWL_ID:
            record->id = value;
            break;
        case GWL_USERDATA:
            record->userData = value;
            break;
        default:
            return 0;
    }
    return previous;
}

BOOL SetWindowText(HWND hwnd, const wchar_t* text) {
    if (FindWindowRecord(hwnd) == nullptr) return FALSE;
    return static_cast<BOOL>(
        SendMessage(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text != nullptr ? text : L"")));
}

int GetWindowText(HWND hwnd, wchar_t* buffer, int bufferLength) {
    if (buffer == nullptr || bufferLength <= 0) return 0;
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXT, static_cast<WPARAM>(bufferLength),
                                        reinterpret_cast<LPARAM>(buffer)));
}

int GetWindowTextLength(HWND hwnd) {
    return static_cast<int>(SendMessage(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

BOOL ShowWindow(HWND hwnd, int command) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    const bool wasVisible = (record->style & WS_VISIBLE) != 0;
    const bool show = command != SW_HIDE;
    if (show == wasVisible) return wasVisible ? TRUE : FALSE;
    platform::DeliverMessage(hwnd, WM_SHOWWINDOW, show ? TRUE : FALSE, 0);
    record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    if (show) {
        record->style |= WS_VISIBLE;
        // Painted whole next: its picture's pages mapped at once, not one fault at a time.
        if (record->surface) record->surface->MapPagesForWriting();
        platform::InvalidateWholeWindow(hwnd);
    } else {
        record->style &= ~WS_VISIBLE;
        platform::ExposeParentArea(*record);
        if (platform::IsDescendantOf(GetFocus(), hwnd) && record->parent != nullptr)
            SetFocus(record->parent);
    }
    const bool topLevel = platform::IsTopLevel(*record);
    platform::NotifyBackendIfTopLevel(hwnd);
    if (topLevel && show && command != SW_SHOWNA) {
        SetActiveWindow(hwnd);
    } else if (topLevel && !show && GetActiveWindow() == hwnd) {
        SetActiveWindow(nullptr);
    }
    return wasVisible ? TRUE : FALSE;
}

BOOL IsWindowVisible(HWND hwnd) { return platform::IsShown(hwnd) ? TRUE : FALSE; }

BOOL EnableWindow(HWND hwnd, BOOL enable) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    const bool wasDisabled = (record->style & WS_DISABLED) != 0;
    if (enable) {
        record->style &= ~WS_DISABLED;
    } else {
        record->style |= WS_DISABLED;
        if (GetCapture() == hwnd) ReleaseCapture();
    }
    if (wasDisabled == (enable == FALSE)) return wasDisabled ? TRUE : FALSE;
    platform::DeliverMessage(hwnd, WM_ENABLE, enable ? TRUE : FALSE, 0);
    return wasDisabled ? TRUE : FALSE;
}

BOOL IsWindowEnabled(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    return record != nullptr && (record->style & WS_DISABLED) == 0 ? TRUE : FALSE;
}

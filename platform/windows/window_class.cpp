// The registry of window classes: registered once per process, never removed.
#include <map>

#include "platform/windows/window_tree.h"

namespace platform {
namespace {

std::map<std::wstring, std::unique_ptr<WindowClass>>& Classes() {
    static std::map<std::wstring, std::unique_ptr<WindowClass>> classes;
    return classes;
}

}  // namespace

const WindowClass* FindWindowClass(const std::wstring& name) {
    auto found = Classes().find(name);
    return found == Classes().end() ? nullptr : found->second.get();
}

}  // namespace platform

const wchar_t* const IDC_ARROW = L"arrow";

ATOM RegisterClass(const WNDCLASS* windowClass) {
    if (windowClass == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpszClassName[0] == L'\0') {
        return 0;
    }
    auto& classes = platform::Classes();
    std::wstring name = windowClass->lpszClassName;
    if (classes.contains(name)) return 0;
    auto record = std::make_unique<platform::WindowClass>();
    record->name = name;
    record->style = windowClass->style;
    record->procedure =
        windowClass->lpfnWndProc != nullptr ? windowClass->lpfnWndProc : DefWindowProc;
    record->cursor = windowClass->hCursor;
    record->background = windowClass->hbrBackground;
    record->icon = windowClass->hIcon;
    classes.emplace(std::move(name), std::move(record));
    return static_cast<ATOM>(classes.size());
}

BOOL GetClassInfo(HINSTANCE /*instance*/, const wchar_t* className, WNDCLASS* windowClass) {
    if (className == nullptr || windowClass == nullptr) return FALSE;
    const platform::WindowClass* found = platform::FindWindowClass(className);
    if (found == nullptr) return FALSE;
    windowClass->style = found->style;
    windowClass->lpfnWndProc = found->procedure;
    windowClass->hCursor = found->cursor;
    windowClass->hbrBackground = found->background;
    windowClass->hIcon = found->icon;
    windowClass->lpszClassName = found->name.c_str();
    return TRUE;
}

HCURSOR LoadCursor(HINSTANCE /*instance*/, const wchar_t* cursorName) {
    // There is one pointer shape on a touch screen; the handle only tells that one was asked for.
    static int arrow = 0;
    return cursorName == IDC_ARROW ? reinterpret_cast<HCURSOR>(&arrow) : nullptr;
}

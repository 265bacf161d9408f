#include "platform/windows/message_pump.h"

#include "platform/windows/cwnd.h"
#include "platform/windows/painting.h"

namespace platform {
namespace {

void Handle(MSG& message) {
    if (!PreTranslateThroughWindows(&message)) {
        TranslateMessage(&message);
        DispatchMessage(&message);
    }
}

}  // namespace

bool PreTranslateThroughWindows(MSG* message) {
    HWND top = nullptr;
    for (HWND hwnd = message->hwnd; hwnd != nullptr; hwnd = GetParent(hwnd)) {
        CWnd* object = CWnd::FromHandle(hwnd);
        if (object != nullptr && object->PreTranslateMessage(message)) return true;
        top = hwnd;
        if ((GetWindowLong(hwnd, GWL_STYLE) & WS_CHILD) == 0) break;
    }
    // The top level's bottom bar hears what its windows left: the soft keys of a menu bar.
    HWND bar = GetBottomBar(top);
    if (bar == nullptr || bar == message->hwnd || IsChild(bar, message->hwnd)) return false;
    CWnd* barObject = CWnd::FromHandle(bar);
    return barObject != nullptr && barObject->PreTranslateMessage(message);
}

bool PumpOneMessage() {
    MSG message{};
    if (!GetMessage(&message, nullptr, 0, 0)) return false;
    Handle(message);
    return true;
}

int ProcessPendingMessages() {
    int handled = 0;
    MSG message{};
    while (PeekMessage(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        Handle(message);
        ++handled;
    }
    PresentDirtyWindows();
    return handled;
}

}  // namespace platform

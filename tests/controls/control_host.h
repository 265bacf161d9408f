// A top-level window that hosts controls in tests and writes down the notifications they send.
#pragma once

#include <string>
#include <vector>

#include "platform/windows/cwnd.h"
#include "platform/windows/input.h"
#include "platform/windows/message_pump.h"

class ControlHost : public CWnd {
  public:
    BOOL CreateHost(const RECT& rect) {
        return CreateEx(0, AfxRegisterWndClass(0), L"host", WS_POPUP | WS_VISIBLE, rect.left,
                        rect.top, rect.right - rect.left, rect.bottom - rect.top, nullptr, nullptr);
    }

    // "command <id> <code>" for each WM_COMMAND.
    std::vector<std::string> notifications;

  protected:
    BOOL OnCommand(WPARAM wParam, LPARAM /*lParam*/) override {
        notifications.push_back("command " + std::to_string(LOWORD(wParam)) + " " +
                                std::to_string(HIWORD(wParam)));
        return TRUE;
    }
};

// A point of `window` in screen coordinates, (x, y) from its top-left corner.
inline POINT PointOn(HWND window, int x, int y) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return POINT{rect.left + x, rect.top + y};
}

// The stylus put down at `down` and lifted at `up` (screen coordinates), each step handled.
inline void Tap(POINT down, POINT up) {
    platform::input::StylusDown(down);
    platform::ProcessPendingMessages();
    platform::input::StylusUp(up);
    platform::ProcessPendingMessages();
}

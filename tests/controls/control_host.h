// A top-level window that hosts controls in tests and writes down the notifications they send.
#pragma once

#include <string>
#include <vector>

#include "platform/windows/cwnd.h"

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

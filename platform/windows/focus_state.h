// Keyboard focus, the active top-level window and the stylus capture. Internal to the window
// system.
#pragma once

#include "platform/base/win_types.h"

namespace platform {

struct FocusState {
    HWND focus = nullptr;
    HWND active = nullptr;
    HWND capture = nullptr;
};

FocusState& Focus();
// Clears every reference to a window that is being destroyed, without sending messages to it.
void ForgetFocusOf(HWND hwnd);
// Activation decided by the outside world (the backend): no request goes back to it.
void ActivateFromOutside(HWND topLevel, bool active);

}  // namespace platform

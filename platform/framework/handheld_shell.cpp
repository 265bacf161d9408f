#include "platform/framework/handheld_shell.h"

#include "platform/windows/window_api.h"

BOOL SHInitExtraControls() { return TRUE; }

BOOL SHDoneButton(HWND window, DWORD /*state*/) { return IsWindow(window); }

// Stand-ins for the handheld shell's calls that the programs make: they do what the programs rely
// on (nothing visible on this platform) and nothing more.
#pragma once

#include "platform/base/win_types.h"

constexpr DWORD SHDB_SHOW = 0x0001;
constexpr DWORD SHDB_HIDE = 0x0002;

// The shell's initialisation of its extra controls; there is nothing to set up here.
BOOL SHInitExtraControls();
// Shows or hides the Done button of a window's title bar; windows here have no such button.
BOOL SHDoneButton(HWND window, DWORD state);

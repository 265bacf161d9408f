// Stand-ins for the handheld shell's calls that the programs make: they do what the programs rely
// on (nothing visible on this platform) and nothing more.
#pragma once

#include "platform/base/win_types.h"

constexpr DWORD SHDB_SHOW = 0x0001;
// The menu bar is built from the menu handle in nToolBarId.
constexpr DWORD SHCMBF_HMENU = 0x0010;

struct SHMENUBARINFO {
    DWORD cbSize = 0;
    HWND hwndParent = nullptr;
    DWORD dwFlags = 0;
    UINT nToolBarId = 0;
    HINSTANCE hInstRes = nullptr;
    int nBmpId = 0;
    int cBmpImages = 0;
    HWND hwndMB = nullptr;  // out: the bar's window
    COLORREF clrBk = 0;
};

constexpr DWORD SHDB_HIDE = 0x0002;

// The shell's initialisation of its extra controls; there is nothing to set up here.
BOOL SHInitExtraControls();
// Shows or hides the Done button of a window's title bar; windows here have no such button.
BOOL SHDoneButton(HWND window, DWORD state);
// Creates the menu bar of `info->hwndParent` from the menu handle in nToolBarId (SHCMBF_HMENU):
// one button per entry across the bottom of the window, whose client area then ends above the
// bar (CMenuBar). Fails on a wrong cbSize, a missing parent, no SHCMBF_HMENU or a bad menu. The bar
// lives as long as its window.
BOOL SHCreateMenuBar(SHMENUBARINFO* info);

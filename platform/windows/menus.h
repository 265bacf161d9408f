// Menus behind HMENU handles: lists of string entries with command ids, as the shell's menu bar
// reads them. A handle names its menu until DestroyMenu; a destroyed or made-up handle fails.
#pragma once

#include "platform/base/win_types.h"

constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;

HMENU CreateMenu();
BOOL DestroyMenu(HMENU menu);
BOOL IsMenu(HMENU menu);
// Appends a string entry; only MF_STRING entries exist here, other kinds fail.
BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, const wchar_t* text);
// The number of entries, or -1 for a bad handle.
int GetMenuItemCount(HMENU menu);
// The command id of the entry at `position`, or (UINT)-1 when there is none.
UINT GetMenuItemID(HMENU menu, int position);
// Copies an entry's text (found by command or by position) into `buffer`, truncated to fit with
// its terminator; returns the characters copied, 0 when there is no such entry. With a null
// buffer it returns the text's length.
int GetMenuString(HMENU menu, UINT item, wchar_t* buffer, int bufferLength, UINT flags);

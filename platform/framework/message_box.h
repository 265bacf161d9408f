// Message boxes of the platform's own: a modal dialog drawn with the platform's fonts and
// controls, so any text shows (Cyrillic included) and nothing is asked of the display server.
// The text wraps at words within the screen; the buttons are the ones the type asks for.
#pragma once

#include <string>
#include <vector>

#include "platform/base/win_types.h"

namespace platform {

struct MessageBoxButtonSet {
    std::vector<int> results;  // one button per result, left to right
    int defaultIndex = 0;      // the button Enter chooses when the box opens
    int escapeResult = 0;      // what Escape and closing the box answer
};

// The buttons of a message box type: MB_OK, MB_OKCANCEL, MB_YESNO or MB_YESNOCANCEL (any other
// gives OK), with MB_DEFBUTTON1 to MB_DEFBUTTON3 choosing the default one.
MessageBoxButtonSet ButtonsForMessageBoxType(UINT type);

// Shows the box modally over `owner` (centred on it, or on the screen without one) and returns
// the result of the button chosen. `buttonLabels`, left to right, replace the standard English
// labels (a program speaking another language). Where no window can be shown at all, the text
// goes to standard error and the answer is the one Escape would give.
int RunMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption, UINT type,
                  std::vector<std::wstring> buttonLabels = {});

}  // namespace platform

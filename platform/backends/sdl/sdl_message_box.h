// Message boxes shown by SDL, with the buttons and icon a message box type asks for.
#pragma once

#include <SDL_video.h>

#include <string>
#include <vector>

#include "platform/base/win_types.h"

namespace platform {

struct MessageBoxButton {
    int result = 0;  // IDOK, IDCANCEL, IDYES or IDNO
    const char* label = "";
    bool onReturn = false;
    bool onEscape = false;
};

// The buttons of a message box type, left to right.
std::vector<MessageBoxButton> MessageBoxButtons(UINT type);

// Shows a modal box over `parent` (may be null). When SDL cannot show one, the message goes to
// standard error as "caption: text" and the answer is IDOK, so the program goes on.
int ShowSdlMessageBox(SDL_Window* parent, const std::wstring& text, const std::wstring& caption,
                      UINT type);

}  // namespace platform

// The system clipboard's text, for cut, copy and paste. The backend connects it with the clipboard
// of the desktop; a program without a screen has an empty clipboard.
#pragma once

#include <string>
#include <string_view>

namespace platform {

void SetClipboardText(std::wstring_view text);
std::wstring GetClipboardText();

}  // namespace platform

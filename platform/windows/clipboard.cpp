#include "platform/windows/clipboard.h"

#include "platform/windows/backend.h"

namespace platform {

void SetClipboardText(std::wstring_view text) {
    CurrentBackend()->SetClipboardText(std::wstring(text));
}

std::wstring GetClipboardText() { return CurrentBackend()->ClipboardText(); }

}  // namespace platform

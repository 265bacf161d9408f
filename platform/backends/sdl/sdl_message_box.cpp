// Message boxes through SDL_ShowMessageBox, and their fallback to standard error.
#include "platform/backends/sdl/sdl_message_box.h"

#include <SDL.h>

#include <algorithm>
#include <cstdio>

#include "platform/base/text_encoding.h"
#include "platform/windows/messages.h"
#include "platform/windows/styles.h"

namespace platform {
namespace {

constexpr UINT kButtonsMask = 0x0000000F;
constexpr UINT kIconMask = 0x000000F0;

Uint32 IconFlag(UINT type) {
    switch (type & kIconMask) {
        case MB_ICONERROR:
            return SDL_MESSAGEBOX_ERROR;
        case MB_ICONWARNING:
            return SDL_MESSAGEBOX_WARNING;
        case MB_ICONINFORMATION:
            return SDL_MESSAGEBOX_INFORMATION;
        default:
            return 0;
    }
}

// The answer when the box is closed without a button: the one Escape would choose.
int EscapeResult(const std::vector<MessageBoxButton>& buttons) {
    const auto escape =
        std::find_if(buttons.begin(), buttons.end(),
                     [](const MessageBoxButton& button) { return button.onEscape; });
    return escape != buttons.end() ? escape->result : IDOK;
}

}  // namespace

std::vector<MessageBoxButton> MessageBoxButtons(UINT type) {
    switch (type & kButtonsMask) {
        case MB_OKCANCEL:
            return {{IDOK, "OK", true, false}, {IDCANCEL, "Cancel", false, true}};
        case MB_YESNO:
            return {{IDYES, "Yes", true, false}, {IDNO, "No", false, true}};
        default:
            return {{IDOK, "OK", true, true}};
    }
}

int ShowSdlMessageBox(SDL_Window* parent, const std::wstring& text, const std::wstring& caption,
                      UINT type) {
    const std::string textUtf8 = Utf8FromWide(text);
    const std::string captionUtf8 = Utf8FromWide(caption);
    const std::vector<MessageBoxButton> buttons = MessageBoxButtons(type);
    std::vector<SDL_MessageBoxButtonData> sdlButtons;
    for (const MessageBoxButton& button : buttons) {
        Uint32 flags = 0;
        if (button.onReturn) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
        if (button.onEscape) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
        sdlButtons.push_back(SDL_MessageBoxButtonData{flags, button.result, button.label});
    }
    SDL_MessageBoxData box{};
    box.flags = IconFlag(type) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT;
    box.window = parent;
    box.title = captionUtf8.c_str();
    box.message = textUtf8.c_str();
    box.numbuttons = static_cast<int>(sdlButtons.size());
    box.buttons = sdlButtons.data();

    int chosen = -1;
    if (SDL_ShowMessageBox(&box, &chosen) != 0) {
        std::fprintf(stderr, "%s: %s\n", captionUtf8.c_str(), textUtf8.c_str());
        return IDOK;
    }
    return chosen >= 0 ? chosen : EscapeResult(buttons);
}

}  // namespace platform

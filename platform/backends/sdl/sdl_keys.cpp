// Key mapping from SDL key symbols (and, for letters and digits, positions) to virtual keys.
#include "platform/backends/sdl/sdl_keys.h"

#include "platform/windows/messages.h"

namespace platform {
namespace {

UINT NamedKey(SDL_Keycode symbol) {
    switch (symbol) {
        case SDLK_LEFT:
            return VK_LEFT;
        case SDLK_UP:
            return VK_UP;
        case SDLK_RIGHT:
            return VK_RIGHT;
        case SDLK_DOWN:
            return VK_DOWN;
        case SDLK_RETURN:
        case SDLK_RETURN2:
        case SDLK_KP_ENTER:
            return VK_RETURN;
        case SDLK_ESCAPE:
            return VK_ESCAPE;
        case SDLK_F1:
            return VK_F1;
        case SDLK_F2:
            return VK_F2;
        case SDLK_F4:
            return VK_F4;
        case SDLK_TAB:
            return VK_TAB;
        case SDLK_BACKSPACE:
            return VK_BACK;
        case SDLK_DELETE:
            return VK_DELETE;
        case SDLK_INSERT:
            return VK_INSERT;
        case SDLK_HOME:
            return VK_HOME;
        case SDLK_END:
            return VK_END;
        case SDLK_PAGEUP:
            return VK_PRIOR;
        case SDLK_PAGEDOWN:
            return VK_NEXT;
        case SDLK_SPACE:
            return VK_SPACE;
        case SDLK_LSHIFT:
        case SDLK_RSHIFT:
            return VK_SHIFT;
        case SDLK_LCTRL:
        case SDLK_RCTRL:
            return VK_CONTROL;
        case SDLK_LALT:
        case SDLK_RALT:
            return VK_MENU;
        default:
            return 0;
    }
}

UINT LetterOrDigitBySymbol(SDL_Keycode symbol) {
    if (symbol >= SDLK_a && symbol <= SDLK_z) return 'A' + static_cast<UINT>(symbol - SDLK_a);
    if (symbol >= SDLK_0 && symbol <= SDLK_9) return '0' + static_cast<UINT>(symbol - SDLK_0);
    return 0;
}

// Layouts without Latin letters (Cyrillic, Greek...) still have keys A..Z and 0..9 at the usual
// places, as the virtual keys of the original platform do.
UINT LetterOrDigitByPosition(SDL_Scancode position) {
    if (position >= SDL_SCANCODE_A && position <= SDL_SCANCODE_Z) {
        return 'A' + static_cast<UINT>(position - SDL_SCANCODE_A);
    }
    if (position >= SDL_SCANCODE_1 && position <= SDL_SCANCODE_9) {
        return '1' + static_cast<UINT>(position - SDL_SCANCODE_1);
    }
    if (position == SDL_SCANCODE_0) return '0';
    return 0;
}

}  // namespace

UINT VirtualKeyFromSdl(const SDL_Keysym& key) {
    if (const UINT named = NamedKey(key.sym); named != 0) return named;
    if (const UINT bySymbol = LetterOrDigitBySymbol(key.sym); bySymbol != 0) return bySymbol;
    // Only symbols that are no ASCII character at all fall back to the key's position, so that
    // punctuation of Latin layouts never turns into a letter.
    if (key.sym >= 0x80 && (key.sym & SDLK_SCANCODE_MASK) == 0) {
        return LetterOrDigitByPosition(key.scancode);
    }
    return 0;
}

}  // namespace platform

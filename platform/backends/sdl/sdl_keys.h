// Which virtual-key code an SDL key stands for.
#pragma once

#include <SDL_keyboard.h>

#include "platform/base/win_types.h"

namespace platform {

// The virtual-key code of a key the programs handle; 0 for keys they never see.
UINT VirtualKeyFromSdl(const SDL_Keysym& key);

}  // namespace platform

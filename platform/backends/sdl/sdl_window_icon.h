// A top-level window's icon on its SDL window, where the desktop shows it (a task bar, say).
#pragma once

#include <SDL_video.h>

#include "platform/base/win_types.h"

namespace platform {

// Sets the icon at its own size; nothing happens for an icon that cannot be drawn.
void SetSdlWindowIcon(SDL_Window* window, HICON icon);

}  // namespace platform

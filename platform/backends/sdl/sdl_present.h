// Copying a window's picture into an SDL surface, in whatever pixel format the screen has.
#pragma once

#include <SDL_surface.h>

#include "platform/graphics/surface.h"

namespace platform {

// Copies `area` of `source` to the same place in `target`, clipped to both; false when nothing
// was copied (empty area or a conversion SDL refused). Returns the copied area in *copied.
bool CopyToSdlSurface(const Surface& source, const RECT& area, SDL_Surface* target, RECT* copied);

}  // namespace platform

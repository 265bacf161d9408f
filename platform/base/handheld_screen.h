// Where a program made for a handheld's screen shows a window that fills "the screen": on a
// handheld-sized display the whole display, on a desktop monitor a handheld-shaped window in its
// middle, so that rows and controls laid out for a phone are not stretched across a wide screen.
#pragma once

#include "platform/base/system_metrics.h"

namespace platform {

// The whole display when it is portrait (height at least the width) or when its shorter side is
// at most 600 pixels at 96 dots per inch (a handheld or netbook screen, landscape ones included).
// Otherwise a portrait rectangle 3 wide by 4 high, seven eighths of the display's height, centred.
// Integer arithmetic throughout; screen coordinates.
RECT HandheldScreenRect(const DisplayInfo& display);
// The same for the current display.
RECT HandheldScreenRect();

}  // namespace platform

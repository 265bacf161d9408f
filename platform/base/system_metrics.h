// The display the programs run on (size and density) and the system metrics derived from it.
// Backends report the display; everything else reads it from here.
#pragma once

#include "platform/base/win_types.h"

constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CYMENU = 15;
// Scroll bars: the width of a vertical bar, the height of its arrows and the smallest thumb.
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_CXVSCROLLTHUMB = 9;
constexpr int SM_CYVSCROLLTHUMB = 9;
constexpr int SM_CXHSCROLLTHUMB = 10;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;

// Sizes are in physical pixels and scale with the density (96 dots per inch is scale 1).
int GetSystemMetrics(int index);

namespace platform {

struct DisplayInfo {
    int width = 480;
    int height = 640;
    int dotsPerInch = 96;

    bool SameSize(const DisplayInfo& other) const {
        return width == other.width && height == other.height;
    }
};

const DisplayInfo& CurrentDisplay();
// Called by the backend when it starts and whenever the display changes.
void SetCurrentDisplay(const DisplayInfo& display);
// A length given for 96 dots per inch, at the current density (rounded to the nearest pixel).
int ScaleForDisplay(int length);

}  // namespace platform

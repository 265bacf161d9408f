#include "platform/base/system_metrics.h"

#include <algorithm>

namespace platform {
namespace {

DisplayInfo& Display() {
    static DisplayInfo display;
    return display;
}

}  // namespace

const DisplayInfo& CurrentDisplay() { return Display(); }

void SetCurrentDisplay(const DisplayInfo& display) {
    Display().width = std::max(0, display.width);
    Display().height = std::max(0, display.height);
    Display().dotsPerInch = std::clamp(display.dotsPerInch, 48, 960);
}

int ScaleForDisplay(int length) {
    const int dpi = Display().dotsPerInch;
    return (length * dpi + 48) / 96;
}

}  // namespace platform

int GetSystemMetrics(int index) {
    using platform::ScaleForDisplay;
    switch (index) {
        case SM_CXSCREEN:
            return platform::CurrentDisplay().width;
        case SM_CYSCREEN:
            return platform::CurrentDisplay().height;
        // Scroll bars are touched with a finger: about 7 mm wide, arrows square, and the thumb
        // never shorter than the bar is wide.
        case SM_CXVSCROLL:
        case SM_CYHSCROLL:
        case SM_CYVSCROLL:
        case SM_CXHSCROLL:
        case SM_CYVSCROLLTHUMB:
        case SM_CXHSCROLLTHUMB:
            return ScaleForDisplay(26);
        case SM_CYCAPTION:
            return ScaleForDisplay(24);
        case SM_CYMENU:
            return ScaleForDisplay(26);
        case SM_CXBORDER:
        case SM_CYBORDER:
            return 1;
        case SM_CXDLGFRAME:
        case SM_CYDLGFRAME:
            return ScaleForDisplay(3);
        case SM_CXEDGE:
        case SM_CYEDGE:
            return ScaleForDisplay(2);
        case SM_CXICON:
        case SM_CYICON:
            return ScaleForDisplay(32);
        case SM_CXSMICON:
        case SM_CYSMICON:
            return ScaleForDisplay(16);
        default:
            return 0;
    }
}

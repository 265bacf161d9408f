#include "platform/base/handheld_screen.h"

#include <algorithm>
#include <cstdint>

namespace platform {
namespace {

// The shorter side, in 96-dpi units, of the largest screen still taken for a handheld's.
constexpr std::int64_t kLargestHandheldShortSide = 600;

}  // namespace

RECT HandheldScreenRect(const DisplayInfo& display) {
    const std::int64_t width = std::max(0, display.width);
    const std::int64_t height = std::max(0, display.height);
    const std::int64_t dpi = std::max(1, display.dotsPerInch);
    const RECT whole{0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
    const std::int64_t shorterSide = std::min(width, height);
    if (height >= width || shorterSide * 96 <= kLargestHandheldShortSide * dpi) return whole;

    const std::int64_t windowHeight = height * 7 / 8;
    const std::int64_t windowWidth = windowHeight * 3 / 4;
    const std::int64_t left = (width - windowWidth) / 2;
    const std::int64_t top = (height - windowHeight) / 2;
    return RECT{static_cast<LONG>(left), static_cast<LONG>(top),
                static_cast<LONG>(left + windowWidth), static_cast<LONG>(top + windowHeight)};
}

RECT HandheldScreenRect() { return HandheldScreenRect(CurrentDisplay()); }

}  // namespace platform

#include "platform/graphics/system_colors.h"

#include <array>

namespace {

// A light scheme: light grey faces, blue selection, black text.
constexpr std::array<COLORREF, 27> kSchemeColors = {
    RGB(200, 200, 200),  // COLOR_SCROLLBAR
    RGB(58, 110, 165),   // COLOR_BACKGROUND
    RGB(0, 84, 166),     // COLOR_ACTIVECAPTION
    RGB(128, 128, 128),  // COLOR_INACTIVECAPTION
    RGB(240, 240, 240),  // COLOR_MENU
    RGB(255, 255, 255),  // COLOR_WINDOW
    RGB(0, 0, 0),        // COLOR_WINDOWFRAME
    RGB(0, 0, 0),        // COLOR_MENUTEXT
    RGB(0, 0, 0),        // COLOR_WINDOWTEXT
    RGB(255, 255, 255),  // COLOR_CAPTIONTEXT
    RGB(212, 208, 200),  // COLOR_ACTIVEBORDER
    RGB(212, 208, 200),  // COLOR_INACTIVEBORDER
    RGB(248, 248, 248),  // COLOR_APPWORKSPACE: light, as a handheld's property pages
    RGB(0, 102, 204),    // COLOR_HIGHLIGHT
    RGB(255, 255, 255),  // COLOR_HIGHLIGHTTEXT
    RGB(228, 228, 228),  // COLOR_BTNFACE
    RGB(160, 160, 160),  // COLOR_BTNSHADOW
    RGB(109, 109, 109),  // COLOR_GRAYTEXT
    RGB(0, 0, 0),        // COLOR_BTNTEXT
    RGB(216, 216, 216),  // COLOR_INACTIVECAPTIONTEXT
    RGB(255, 255, 255),  // COLOR_BTNHIGHLIGHT
    RGB(64, 64, 64),     // COLOR_3DDKSHADOW
    RGB(227, 227, 227),  // COLOR_3DLIGHT
    RGB(0, 0, 0),        // COLOR_INFOTEXT
    RGB(255, 255, 225),  // COLOR_INFOBK
    RGB(228, 228, 228),  // COLOR_STATIC
    RGB(0, 0, 0),        // COLOR_STATICTEXT
};

}  // namespace

COLORREF GetSysColor(int index) {
    const auto plainIndex = static_cast<std::size_t>(static_cast<COLORREF>(index) & 0xFF);
    if ((static_cast<COLORREF>(index) & ~(SYS_COLOR_INDEX_FLAG | 0xFFu)) != 0 ||
        plainIndex >= kSchemeColors.size()) {
        return RGB(0, 0, 0);
    }
    return kSchemeColors[plainIndex];
}

namespace platform {

COLORREF ResolveColor(COLORREF color) {
    if ((color & SYS_COLOR_INDEX_FLAG) != 0) return GetSysColor(static_cast<int>(color));
    return color & 0x00FFFFFF;
}

}  // namespace platform

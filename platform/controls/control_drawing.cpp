#include "platform/controls/control_drawing.h"

#include "platform/graphics/gdi_objects.h"
#include "platform/windows/window_api.h"

namespace platform {

HFONT ControlFont(HWND control) {
    auto* font = reinterpret_cast<HFONT>(::SendMessage(control, WM_GETFONT, 0, 0));
    return font != nullptr ? font : DefaultFont();
}

void DrawControlFrame(CDC& dc, const RECT& rect, int thickness, COLORREF color) {
    const RECT bands[] = {
        {rect.left, rect.top, rect.right, rect.top + thickness},
        {rect.left, rect.bottom - thickness, rect.right, rect.bottom},
        {rect.left, rect.top + thickness, rect.left + thickness, rect.bottom - thickness},
        {rect.right - thickness, rect.top + thickness, rect.right, rect.bottom - thickness},
    };
    for (const RECT& band : bands) dc.FillSolidRect(&band, color);
}

}  // namespace platform

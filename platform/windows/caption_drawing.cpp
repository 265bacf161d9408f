#include "platform/windows/caption_drawing.h"

#include "platform/base/system_metrics.h"
#include "platform/graphics/gdi_objects.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/caption_layout.h"

namespace platform {
namespace {

void Fill(HDC context, const RECT& rect, int colorIndex) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(colorIndex));
    FillRect(context, &rect, brush);
    DeleteObject(brush);
}

// A band `thickness` pixels wide just inside the rectangle.
void Outline(HDC context, const RECT& rect, int thickness, int colorIndex) {
    Fill(context, RECT{rect.left, rect.top, rect.right, rect.top + thickness}, colorIndex);
    Fill(context, RECT{rect.left, rect.bottom - thickness, rect.right, rect.bottom}, colorIndex);
    Fill(context, RECT{rect.left, rect.top, rect.left + thickness, rect.bottom}, colorIndex);
    Fill(context, RECT{rect.right - thickness, rect.top, rect.right, rect.bottom}, colorIndex);
}

// A light face with a dark frame, which stands out on the caption colour of an active and of an
// inactive window alike; held, the face darkens as the scroll bar's arrows do.
void DrawOkButton(HDC context, const RECT& button, bool pressed) {
    Fill(context, button, pressed ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
    Outline(context, button, ScaleForDisplay(1), COLOR_3DDKSHADOW);
    RECT text = button;
    SetTextColor(context, GetSysColor(COLOR_BTNTEXT));
    DrawText(context, L"ok", -1, &text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

}  // namespace

void DrawCaption(HDC context, const WindowRecord& record, bool active) {
    const CaptionLayout layout = CaptionLayoutOf(record);
    Fill(context, layout.bar, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
    LOGFONT bold{};
    GetObject(DefaultFont(), sizeof(bold), &bold);
    bold.lfWeight = FW_BOLD;
    HFONT font = CreateFontIndirect(&bold);
    HGDIOBJ previousFont = SelectObject(context, font);
    SetBkMode(context, TRANSPARENT);
    SetTextColor(context, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
    RECT title = layout.title;
    DrawText(context, record.text.c_str(), -1, &title,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    if (HasCaptionOkButton(record)) DrawOkButton(context, layout.okButton, record.captionOkPressed);
    SelectObject(context, previousFont);
    DeleteObject(font);
}

}  // namespace platform

#include "platform/windows/caption_layout.h"

#include <algorithm>

#include "platform/base/system_metrics.h"

namespace platform {
namespace {

// The button is as high as a scroll bar is wide (about 7 mm, a fingertip) and half as wide
// again, with a small margin all round inside the bar.
int OkButtonHeight() { return GetSystemMetrics(SM_CXVSCROLL); }
int OkButtonWidth() { return ScaleForDisplay(40); }
int OkButtonMargin() { return ScaleForDisplay(3); }

}  // namespace

bool HasCaption(const WindowRecord& record) { return (record.style & WS_CAPTION) == WS_CAPTION; }

bool HasCaptionOkButton(const WindowRecord& record) {
    return IsTopLevel(record) && HasCaption(record) && (record.exStyle & WS_EX_CAPTIONOKBTN) != 0;
}

int CaptionHeight(const WindowRecord& record) {
    if (!HasCaption(record)) return 0;
    const int standard = GetSystemMetrics(SM_CYCAPTION);
    if (!HasCaptionOkButton(record)) return standard;
    return std::max(standard, OkButtonHeight() + 2 * OkButtonMargin());
}

CaptionLayout CaptionLayoutOf(const WindowRecord& record) {
    CaptionLayout layout;
    if (!HasCaption(record)) return layout;
    // Inside the one-pixel border, down to where the client area starts.
    const int width = record.rect.right - record.rect.left;
    layout.bar = RECT{1, 1, width - 1, ClientAreaInWindow(record).top};
    layout.title = layout.bar;
    layout.title.left += ScaleForDisplay(6);
    if (!HasCaptionOkButton(record)) return layout;

    const int margin = OkButtonMargin();
    const RECT& bar = layout.bar;
    const int top = bar.top + (bar.bottom - bar.top - OkButtonHeight()) / 2;
    layout.okButton =
        RECT{bar.right - margin - OkButtonWidth(), top, bar.right - margin, top + OkButtonHeight()};
    layout.okTarget = RECT{layout.okButton.left - margin, 0, width, bar.bottom};
    layout.title.right = std::min(layout.title.right, layout.okTarget.left);
    return layout;
}

}  // namespace platform

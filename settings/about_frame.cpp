#include "settings/about_frame.h"

#include "platform/graphics/gdi_classes.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"
#include "settings/tree_drawing.h"

IMPLEMENT_DYNAMIC(CAboutFrame, CWnd)

BEGIN_MESSAGE_MAP(CAboutFrame, CWnd)
ON_WM_PAINT()
END_MESSAGE_MAP()

namespace {

// The text keeps this distance from every edge of the panel.
constexpr int kTextInset = 4;

}  // namespace

CAboutFrame::CAboutFrame() = default;

CAboutFrame::~CAboutFrame() = default;

BOOL CAboutFrame::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    static const wchar_t* className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    return CWnd::Create(className, L"", style, rect, parent, id);
}

void CAboutFrame::SetText(const wchar_t* text) { text_ = text != nullptr ? text : L""; }

void CAboutFrame::OnPaint() {
    CPaintDC dc(this);
    // Drawn off screen and copied in one block, so the panel does not flicker as the selection
    // moves; without the memory context or bitmap the paint is left undone.
    CDC memoryDC;
    if (!memoryDC.CreateCompatibleDC(&dc)) return;
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    const int W = client.Width(), H = client.Height();
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(dc, W, H)) return;
    HBITMAP previousBitmap = memoryDC.SelectObject(&bitmap);

    settings::FillWithSysColor(memoryDC, CRect(0, 0, W, H), COLOR_APPWORKSPACE);
    settings::DrawSysColorLine(memoryDC, COLOR_BTNSHADOW,
                               {{0, 0}, {W - 1, 0}, {W - 1, H - 1}, {0, H - 1}, {0, 0}});
    // The memory context's own colours and mode are used as they come.
    CRect textRect(kTextInset, kTextInset, W - kTextInset, H - kTextInset);
    memoryDC.DrawText(text_, &textRect, DT_WORDBREAK);

    dc.BitBlt(0, 0, W, H, &memoryDC, 0, 0, SRCCOPY);
    memoryDC.SelectObject(previousBitmap);
}

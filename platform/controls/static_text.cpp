#include "platform/controls/static_text.h"

#include "platform/controls/control_drawing.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)

BEGIN_MESSAGE_MAP(CStatic, CWnd)
ON_WM_PAINT()
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

CStatic::CStatic() = default;

CStatic::~CStatic() = default;

BOOL CStatic::Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    static const wchar_t* className = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW);
    return CWnd::Create(className, text, style, rect, parent, id);
}

UINT CStatic::TextFormat() const {
    const DWORD style = GetStyle();
    UINT format = DT_WORDBREAK;
    if ((style & SS_NOPREFIX) != 0) format |= DT_NOPREFIX;
    switch (style & 0x3) {
        case SS_CENTER:
            return format | DT_CENTER;
        case SS_RIGHT:
            return format | DT_RIGHT;
        default:
            return format;  // DT_LEFT
    }
}

void CStatic::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
    const int previousMode = dc.SetBkMode(TRANSPARENT);
    HGDIOBJ previousFont = dc.SelectObject(platform::ControlFont(m_hWnd));
    const COLORREF previousColor =
        dc.SetTextColor(GetSysColor(IsWindowEnabled() ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    dc.DrawText(GetWindowText(), &client, TextFormat());
    dc.SetTextColor(previousColor);
    dc.SelectObject(previousFont);
    dc.SetBkMode(previousMode);
}

LRESULT CStatic::OnSetText(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProc(WM_SETTEXT, wParam, lParam);
    Invalidate(FALSE);
    return result;
}

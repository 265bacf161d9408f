#include "platform/controls/edit.h"

#include "platform/controls/control_drawing.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BEGIN_MESSAGE_MAP(CEdit, CWnd)
ON_WM_PAINT()
ON_MESSAGE(WM_SETTEXT, OnSetText)
END_MESSAGE_MAP()

CEdit::CEdit() = default;

CEdit::~CEdit() = default;

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    static const wchar_t* className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    return CWnd::Create(className, L"", style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL /*noScroll*/) { SendMessage(EM_SETSEL, start, end); }

void CEdit::GetSel(int& start, int& end) const {
    const auto selection = static_cast<DWORD>(::SendMessage(m_hWnd, EM_GETSEL, 0, 0));
    start = LOWORD(selection);
    end = HIWORD(selection);
}

void CEdit::Cut() { SendMessage(WM_CUT); }
void CEdit::Copy() { SendMessage(WM_COPY); }
void CEdit::Paste() { SendMessage(WM_PASTE); }
void CEdit::Clear() { SendMessage(WM_CLEAR); }
void CEdit::LimitText(int limit) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(limit)); }

LRESULT CEdit::OnSetText(WPARAM wParam, LPARAM lParam) {
    const LRESULT result = DefWindowProc(WM_SETTEXT, wParam, lParam);
    Invalidate(FALSE);
    NotifyParent(EN_CHANGE);
    return result;
}

void CEdit::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    HGDIOBJ previousFont = dc.SelectObject(platform::ControlFont(m_hWnd));
    const int previousMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF previousColor = dc.SetTextColor(GetSysColor(COLOR_WINDOWTEXT));
    dc.DrawText(GetWindowText(), &client, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetTextColor(previousColor);
    dc.SetBkMode(previousMode);
    dc.SelectObject(previousFont);
}

void CEdit::NotifyParent(UINT code) {
    HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr) return;
    ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code),
                  reinterpret_cast<LPARAM>(m_hWnd));
}

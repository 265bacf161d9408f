#include "platform/controls/button.h"

#include <algorithm>
#include <string>

#include "platform/base/system_metrics.h"
#include "platform/controls/check_box_drawing.h"
#include "platform/controls/control_drawing.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_dc.h"

IMPLEMENT_DYNAMIC(CButton, CWnd)

BEGIN_MESSAGE_MAP(CButton, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_KEYDOWN()
ON_WM_KEYUP()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_MESSAGE(BM_SETSTYLE, OnSetStyle)
ON_MESSAGE(BM_CLICK, OnClick)
ON_MESSAGE(BM_GETCHECK, OnGetCheck)
ON_MESSAGE(BM_SETCHECK, OnSetCheck)
END_MESSAGE_MAP()

CButton::CButton() = default;

CButton::~CButton() = default;

BOOL CButton::Create(const wchar_t* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    static const wchar_t* className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    return CWnd::Create(className, caption, style, rect, parent, id);
}

void CButton::SetButtonStyle(UINT style, BOOL redraw) { SendMessage(BM_SETSTYLE, style, redraw); }

UINT CButton::GetButtonStyle() const { return GetStyle() & BS_TYPEMASK; }

int CButton::GetCheck() const {
    return static_cast<int>(const_cast<CButton*>(this)->SendMessage(BM_GETCHECK));
}

void CButton::SetCheck(int check) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(check)); }

LRESULT CButton::OnGetCheck(WPARAM /*wParam*/, LPARAM /*lParam*/) { return check_; }

LRESULT CButton::OnSetCheck(WPARAM wParam, LPARAM /*lParam*/) {
    const int check = wParam == BST_CHECKED ? BST_CHECKED : BST_UNCHECKED;
    if (check != check_) {
        check_ = check;
        Invalidate(FALSE);
    }
    return 0;
}

void CButton::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    if (IsCheckBox()) {
        PaintCheckBox(dc, client);
    } else {
        PaintPushButton(dc, client);
    }
}

void CButton::PaintPushButton(CDC& dc, const CRect& client) {
    const bool enabled = IsWindowEnabled() != FALSE;
    const bool marked = GetButtonStyle() == BS_DEFPUSHBUTTON || GetFocus() == this;

    dc.FillSolidRect(&client, GetSysColor(pressed_ ? COLOR_HIGHLIGHT : COLOR_BTNHIGHLIGHT));
    if (marked) {
        platform::DrawControlFrame(dc, client, platform::ScaleForDisplay(2),
                                   GetSysColor(COLOR_HIGHLIGHT));
    } else {
        platform::DrawControlFrame(dc, client, 1, GetSysColor(COLOR_BTNSHADOW));
    }

    const int previousMode = dc.SetBkMode(TRANSPARENT);
    HGDIOBJ previousFont = dc.SelectObject(platform::ControlFont(m_hWnd));
    const COLORREF textColor = !enabled   ? GetSysColor(COLOR_GRAYTEXT)
                               : pressed_ ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                          : GetSysColor(COLOR_BTNTEXT);
    const COLORREF previousColor = dc.SetTextColor(textColor);
    CRect textRect = client;
    textRect.DeflateRect(platform::ScaleForDisplay(4), 0);
    dc.DrawText(GetWindowText(), &textRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.SetTextColor(previousColor);
    dc.SelectObject(previousFont);
    dc.SetBkMode(previousMode);
}

void CButton::PaintCheckBox(CDC& dc, const CRect& client) {
    const bool enabled = IsWindowEnabled() != FALSE;
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));

    // The box: white and open, face-grey while held or disabled, with the tick when checked.
    const CRect box = platform::CheckBoxSquare(client);
    dc.FillSolidRect(&box, GetSysColor(pressed_ || !enabled ? COLOR_BTNFACE : COLOR_WINDOW));
    platform::DrawControlFrame(dc, box, platform::ScaleForDisplay(1),
                               GetSysColor(enabled ? COLOR_3DDKSHADOW : COLOR_GRAYTEXT));
    if (check_ == BST_CHECKED) {
        platform::DrawCheckMark(dc, box, GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
    }

    // The caption to the right of the box, left-aligned and vertically centred.
    const int previousMode = dc.SetBkMode(TRANSPARENT);
    HGDIOBJ previousFont = dc.SelectObject(platform::ControlFont(m_hWnd));
    const COLORREF previousColor =
        dc.SetTextColor(GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
    const std::wstring caption = GetWindowText();
    CRect textRect(box.right + platform::ScaleForDisplay(6), client.top, client.right,
                   client.bottom);
    dc.DrawText(caption, &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (GetFocus() == this) {
        // The focus frames the caption (or, without one, a small stretch beside the box).
        const int margin = platform::ScaleForDisplay(2);
        const CSize extent = dc.GetTextExtent(caption);
        const int width = std::min<int>(extent.cx, textRect.Width());
        const int height = std::min<int>(extent.cy, client.Height());
        const int top = client.top + (client.Height() - height) / 2;
        const CRect focus(textRect.left - margin, top - margin,
                          textRect.left + std::max(width, margin) + margin, top + height + margin);
        platform::DrawControlFrame(dc, focus, platform::ScaleForDisplay(1),
                                   GetSysColor(COLOR_HIGHLIGHT));
    }
    dc.SetTextColor(previousColor);
    dc.SelectObject(previousFont);
    dc.SetBkMode(previousMode);
}

bool CButton::IsCheckBox() const {
    const UINT type = GetButtonStyle();
    return type == BS_CHECKBOX || type == BS_AUTOCHECKBOX;
}

void CButton::OnLButtonDown(UINT /*flags*/, CPoint /*point*/) {
    // A button takes the focus when it is pressed, as a finger expects it to answer the keys.
    if (GetFocus() != this) SetFocus();
    SetCapture();
    stylusHeld_ = true;
    SetPressed(true);
}

void CButton::OnMouseMove(UINT /*flags*/, CPoint point) {
    // Sliding off the button releases it; sliding back presses it again.
    if (stylusHeld_) SetPressed(ContainsClientPoint(point));
}

void CButton::OnLButtonUp(UINT /*flags*/, CPoint point) {
    if (!stylusHeld_) return;
    stylusHeld_ = false;
    const bool clicked = ContainsClientPoint(point);
    SetPressed(false);
    if (GetCapture() == this) ::ReleaseCapture();
    if (clicked) NotifyClicked();
}

void CButton::OnKeyDown(UINT key, UINT /*repeatCount*/, UINT /*flags*/) {
    if (key != VK_SPACE) {
        Default();
        return;
    }
    spaceHeld_ = true;
    SetPressed(true);
}

void CButton::OnKeyUp(UINT key, UINT /*repeatCount*/, UINT /*flags*/) {
    if (key != VK_SPACE || !spaceHeld_) {
        Default();
        return;
    }
    spaceHeld_ = false;
    SetPressed(false);
    NotifyClicked();
}

void CButton::OnSetFocus(CWnd* /*oldWindow*/) { Invalidate(FALSE); }

void CButton::OnKillFocus(CWnd* /*newWindow*/) {
    // A press that loses the focus is no click.
    spaceHeld_ = false;
    if (!stylusHeld_) SetPressed(false);
    Invalidate(FALSE);
}

LRESULT CButton::OnCaptureChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // Someone else took the stylus: the press is cancelled.
    if (stylusHeld_) {
        stylusHeld_ = false;
        SetPressed(false);
    }
    return 0;
}

LRESULT CButton::OnSetStyle(WPARAM wParam, LPARAM lParam) {
    const DWORD type = static_cast<DWORD>(wParam) & BS_TYPEMASK;
    ::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>((GetStyle() & ~BS_TYPEMASK) | type));
    if (lParam != 0) Invalidate(FALSE);
    return 0;
}

LRESULT CButton::OnClick(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    NotifyClicked();
    return 0;
}

void CButton::SetPressed(bool pressed) {
    if (pressed == pressed_) return;
    pressed_ = pressed;
    Invalidate(FALSE);
}

bool CButton::ContainsClientPoint(CPoint point) const {
    CRect client;
    GetClientRect(&client);
    return client.PtInRect(point) != FALSE;
}

void CButton::NotifyClicked() {
    if (!IsWindowEnabled()) return;
    if (GetButtonStyle() == BS_AUTOCHECKBOX) {
        SetCheck(check_ == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED);
    }
    HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr) return;
    ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), BN_CLICKED),
                  reinterpret_cast<LPARAM>(m_hWnd));
}

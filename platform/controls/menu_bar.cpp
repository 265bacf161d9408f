#include "platform/controls/menu_bar.h"

#include "platform/base/system_metrics.h"
#include "platform/controls/control_drawing.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/menus.h"
#include "platform/windows/window_dc.h"

namespace {

// A fingertip at 96 dots per inch, about 9 millimetres.
constexpr int kFingerHeight = 36;

}  // namespace

IMPLEMENT_DYNAMIC(CMenuBar, CWnd)

BEGIN_MESSAGE_MAP(CMenuBar, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
END_MESSAGE_MAP()

int CMenuBar::BarHeight() { return platform::ScaleForDisplay(kFingerHeight); }

CMenuBar::CMenuBar() = default;

CMenuBar::~CMenuBar() = default;

BOOL CMenuBar::Create(HWND parent, HMENU menu) {
    if (!::IsWindow(parent) || !IsMenu(menu)) return FALSE;
    entries_.clear();
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position) {
        Entry entry{GetMenuItemID(menu, position), {}};
        const int length =
            GetMenuString(menu, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
        entry.text.resize(static_cast<size_t>(length) + 1);
        GetMenuString(menu, static_cast<UINT>(position), entry.text.data(), length + 1,
                      MF_BYPOSITION);
        entry.text.resize(static_cast<size_t>(length));
        entries_.push_back(std::move(entry));
    }

    static const wchar_t* className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    CRect client;
    ::GetClientRect(parent, &client);
    const int height = BarHeight();
    if (!CreateEx(0, className, L"", WS_CHILD | WS_VISIBLE, 0, client.bottom - height, client.right,
                  height, parent, nullptr)) {
        return FALSE;
    }
    if (!::SetBottomBar(parent, m_hWnd, height)) {
        DestroyWindow();
        return FALSE;
    }
    return TRUE;
}

void CMenuBar::PostNcDestroy() {
    // The shell hands the bar's window out, never the object: the window's end is the object's.
    if (deleteWithWindow) delete this;  // NOLINT(cppcoreguidelines-owning-memory)
}

CRect CMenuBar::EntryRect(int index) const {
    CRect client(0, 0, 0, 0);
    GetClientRect(&client);
    const int count = static_cast<int>(entries_.size());
    // Equal shares of the width; the last entry takes what the division leaves.
    const int left = client.Width() * index / count;
    const int right = index + 1 == count ? client.right : client.Width() * (index + 1) / count;
    return RECT{left, client.top, right, client.bottom};
}

int CMenuBar::EntryAt(CPoint point) const {
    for (int index = 0; index < static_cast<int>(entries_.size()); ++index) {
        if (EntryRect(index).PtInRect(point)) return index;
    }
    return kNone;
}

int CMenuBar::EntryForSoftKey(WPARAM key) const {
    const int count = static_cast<int>(entries_.size());
    if (key == VK_F1 && count >= 1) return 0;
    if (key == VK_F2 && count >= 2) return count - 1;
    return kNone;
}

void CMenuBar::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));

    const int previousMode = dc.SetBkMode(TRANSPARENT);
    HGDIOBJ previousFont = dc.SelectObject(platform::ControlFont(m_hWnd));
    const int line = platform::ScaleForDisplay(1);
    for (int index = 0; index < static_cast<int>(entries_.size()); ++index) {
        const CRect cell = EntryRect(index);
        const bool pressed = index == pressed_;
        if (pressed) dc.FillSolidRect(&cell, GetSysColor(COLOR_HIGHLIGHT));
        if (index > 0) {
            // A rule between neighbouring entries.
            const CRect rule(cell.left, cell.top, cell.left + line, cell.bottom);
            dc.FillSolidRect(&rule, GetSysColor(COLOR_BTNSHADOW));
        }
        const COLORREF previousColor =
            dc.SetTextColor(GetSysColor(pressed ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
        CRect textRect = cell;
        textRect.DeflateRect(platform::ScaleForDisplay(4), 0);
        dc.DrawText(entries_[static_cast<size_t>(index)].text, &textRect,
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        dc.SetTextColor(previousColor);
    }
    // The rule that parts the bar from the window's content above it.
    const CRect top(client.left, client.top, client.right, client.top + line);
    dc.FillSolidRect(&top, GetSysColor(COLOR_BTNSHADOW));
    dc.SelectObject(previousFont);
    dc.SetBkMode(previousMode);
}

void CMenuBar::OnLButtonDown(UINT /*flags*/, CPoint point) {
    stylusEntry_ = EntryAt(point);
    if (stylusEntry_ == kNone) return;
    SetCapture();
    SetPressed(stylusEntry_);
}

void CMenuBar::OnMouseMove(UINT /*flags*/, CPoint point) {
    // Sliding off the entry releases it; sliding back presses it again.
    if (stylusEntry_ != kNone) SetPressed(EntryAt(point) == stylusEntry_ ? stylusEntry_ : kNone);
}

void CMenuBar::OnLButtonUp(UINT /*flags*/, CPoint point) {
    const int began = stylusEntry_;
    if (began == kNone) return;
    stylusEntry_ = kNone;
    SetPressed(kNone);
    if (GetCapture() == this) ::ReleaseCapture();
    if (EntryAt(point) == began) NotifyCommand(began);
}

LRESULT CMenuBar::OnCaptureChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // Someone else took the stylus: the press is cancelled.
    if (stylusEntry_ != kNone) {
        stylusEntry_ = kNone;
        SetPressed(kNone);
    }
    return 0;
}

BOOL CMenuBar::PreTranslateMessage(MSG* message) {
    if (message->message == WM_KEYDOWN) {
        const int entry = EntryForSoftKey(message->wParam);
        if (entry == kNone) return FALSE;
        heldSoftKey_ = message->wParam;
        SetPressed(entry);
        return TRUE;
    }
    if (message->message == WM_KEYUP) {
        const int entry = EntryForSoftKey(message->wParam);
        if (entry == kNone) return FALSE;
        // Like a tap, the command comes with the release, and only after its own press.
        const bool held = heldSoftKey_ == message->wParam;
        heldSoftKey_ = 0;
        SetPressed(kNone);
        if (held) NotifyCommand(entry);
        return TRUE;
    }
    return FALSE;
}

void CMenuBar::SetPressed(int index) {
    if (index == pressed_) return;
    pressed_ = index;
    Invalidate(FALSE);
}

void CMenuBar::NotifyCommand(int index) {
    HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr) return;
    ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(entries_[static_cast<size_t>(index)].id, 0), 0);
}

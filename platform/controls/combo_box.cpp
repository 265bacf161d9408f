#include "platform/controls/combo_box.h"

#include <algorithm>
#include <locale>

#include "platform/base/system_metrics.h"
#include "platform/controls/control_drawing.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/window_api.h"
#include "platform/windows/window_dc.h"

namespace platform {

int ComboBoxClosedHeight() {
    HDC screen = ::GetDC(nullptr);
    HGDIOBJ previous = ::SelectObject(screen, ControlFont(nullptr));
    TEXTMETRIC metrics{};
    ::GetTextMetrics(screen, &metrics);
    ::SelectObject(screen, previous);
    ::ReleaseDC(nullptr, screen);
    return static_cast<int>(metrics.tmHeight) + ScaleForDisplay(10);
}

}  // namespace platform

namespace {

// Letter case folded for every script (the entries are Russian as often as not), whatever
// locale the program runs in.
wchar_t FoldCase(wchar_t character) {
    static const std::locale unicode = [] {
        try {
            return std::locale("C.UTF-8");
        } catch (const std::runtime_error&) {
            return std::locale::classic();
        }
    }();
    return std::use_facet<std::ctype<wchar_t>>(unicode).tolower(character);
}

bool StartsWithIgnoringCase(const std::wstring& text, const wchar_t* prefix) {
    for (std::size_t index = 0; prefix[index] != L'\0'; ++index) {
        if (index >= text.size() || FoldCase(text[index]) != FoldCase(prefix[index])) return false;
    }
    return true;
}

// What the closed box shows.
struct BoxLook {
    bool enabled = true;
    bool focused = false;
    bool dropped = false;
};

// The drop-down arrow: a small triangle pointing down in the middle of its button.
void DrawArrow(CDC& dc, const CRect& button, COLORREF color) {
    const int half = std::max(2, button.Width() / 6);
    const int left = (button.left + button.right) / 2 - half;
    const int top = (button.top + button.bottom) / 2 - half / 2;
    for (int line = 0; line <= half; ++line) {
        const CRect row(left + line, top + line, left + 2 * half + 1 - line, top + line + 1);
        dc.FillSolidRect(&row, color);
    }
}

}  // namespace

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BEGIN_MESSAGE_MAP(CComboBox, CWnd)
ON_WM_PAINT()
ON_WM_LBUTTONDOWN()
ON_WM_LBUTTONUP()
ON_WM_KEYDOWN()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_DESTROY()
ON_MESSAGE(WM_ENABLE, OnEnable)
ON_MESSAGE(WM_SHOWWINDOW, OnShowWindow)
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_MESSAGE(CB_ADDSTRING, OnAddString)
ON_MESSAGE(CB_GETCOUNT, OnGetCount)
ON_MESSAGE(CB_GETCURSEL, OnGetCurSel)
ON_MESSAGE(CB_SETCURSEL, OnSetCurSel)
ON_MESSAGE(CB_SELECTSTRING, OnSelectString)
ON_MESSAGE(CB_GETLBTEXT, OnGetLBText)
ON_MESSAGE(CB_GETLBTEXTLEN, OnGetLBTextLen)
ON_MESSAGE(CB_RESETCONTENT, OnResetContent)
ON_MESSAGE(CB_SHOWDROPDOWN, OnShowDropDown)
ON_MESSAGE(CB_GETDROPPEDSTATE, OnGetDroppedState)
END_MESSAGE_MAP()

CComboBox::CComboBox() = default;

CComboBox::~CComboBox() = default;

BOOL CComboBox::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    static const wchar_t* className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    droppedHeight_ = rect.bottom - rect.top;
    CRect closed = rect;
    closed.bottom = closed.top + platform::ComboBoxClosedHeight();
    // A scroll bar asked for belongs to the dropped list, which shows where it is scrolled; the
    // box itself has none.
    return CWnd::Create(className, L"", style & ~(WS_VSCROLL | WS_HSCROLL), closed, parent, id);
}

int CComboBox::AddString(const wchar_t* text) {
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)));
}
int CComboBox::GetCount() const {
    return static_cast<int>(::SendMessage(m_hWnd, CB_GETCOUNT, 0, 0));
}
int CComboBox::GetCurSel() const {
    return static_cast<int>(::SendMessage(m_hWnd, CB_GETCURSEL, 0, 0));
}
int CComboBox::SetCurSel(int index) {
    return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index)));
}
int CComboBox::SelectString(int startAfter, const wchar_t* text) {
    return static_cast<int>(SendMessage(CB_SELECTSTRING, static_cast<WPARAM>(startAfter),
                                        reinterpret_cast<LPARAM>(text)));
}
void CComboBox::GetLBText(int index, std::wstring& text) const {
    text.clear();
    if (index < 0 || index >= static_cast<int>(entries_.size())) return;
    text = entries_[static_cast<std::size_t>(index)];
}
int CComboBox::GetLBTextLen(int index) const {
    return static_cast<int>(::SendMessage(m_hWnd, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0));
}
void CComboBox::ResetContent() { SendMessage(CB_RESETCONTENT); }
void CComboBox::ShowDropDown(BOOL show) { SendMessage(CB_SHOWDROPDOWN, show); }
BOOL CComboBox::GetDroppedState() const {
    return static_cast<BOOL>(::SendMessage(m_hWnd, CB_GETDROPPEDSTATE, 0, 0));
}

BOOL CComboBox::PreTranslateMessage(MSG* message) {
    if (message->message == WM_KEYDOWN && message->hwnd == m_hWnd && list_.IsOpen() &&
        HandleKey(static_cast<UINT>(message->wParam))) {
        return TRUE;  // the combo box may be gone: nothing of it after this
    }
    return CWnd::PreTranslateMessage(message);
}

LRESULT CComboBox::OnAddString(WPARAM /*wParam*/, LPARAM lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    entries_.emplace_back(text != nullptr ? text : L"");
    if (list_.IsOpen()) list_.EntriesChanged();
    return static_cast<LRESULT>(entries_.size() - 1);
}
LRESULT CComboBox::OnGetCount(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return static_cast<LRESULT>(entries_.size());
}
LRESULT CComboBox::OnGetCurSel(WPARAM /*wParam*/, LPARAM /*lParam*/) { return selected_; }
LRESULT CComboBox::OnSetCurSel(WPARAM wParam, LPARAM /*lParam*/) {
    const auto index = static_cast<int>(wParam);
    if (index < 0 || index >= static_cast<int>(entries_.size())) {
        Select(CB_ERR);
        return CB_ERR;
    }
    Select(index);
    return index;
}
LRESULT CComboBox::OnSelectString(WPARAM wParam, LPARAM lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    const int count = static_cast<int>(entries_.size());
    if (text == nullptr || count == 0) return CB_ERR;
    const int startAfter = static_cast<int>(wParam);
    const int first = startAfter < 0 || startAfter >= count ? 0 : startAfter + 1;
    for (int step = 0; step < count; ++step) {
        const int index = (first + step) % count;
        if (StartsWithIgnoringCase(entries_[static_cast<std::size_t>(index)], text)) {
            Select(index);
            return index;
        }
    }
    return CB_ERR;
}
LRESULT CComboBox::OnGetLBText(WPARAM wParam, LPARAM lParam) {
    const auto index = static_cast<int>(wParam);
    auto* buffer = reinterpret_cast<wchar_t*>(lParam);
    if (index < 0 || index >= static_cast<int>(entries_.size()) || buffer == nullptr) return CB_ERR;
    const std::wstring& text = entries_[static_cast<std::size_t>(index)];
    std::copy(text.begin(), text.end(), buffer);
    buffer[text.size()] = L'\0';
    return static_cast<LRESULT>(text.size());
}
LRESULT CComboBox::OnGetLBTextLen(WPARAM wParam, LPARAM /*lParam*/) {
    const auto index = static_cast<int>(wParam);
    if (index < 0 || index >= static_cast<int>(entries_.size())) return CB_ERR;
    return static_cast<LRESULT>(entries_[static_cast<std::size_t>(index)].size());
}
LRESULT CComboBox::OnResetContent(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    entries_.clear();
    Select(CB_ERR);
    if (list_.IsOpen()) list_.EntriesChanged();
    return 0;
}
LRESULT CComboBox::OnShowDropDown(WPARAM wParam, LPARAM /*lParam*/) {
    if (wParam != 0) {
        OpenList(false);
    } else {
        CloseList(false);
    }
    return TRUE;
}
LRESULT CComboBox::OnGetDroppedState(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return list_.IsOpen() ? TRUE : FALSE;
}

void CComboBox::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    BoxLook look;
    look.enabled = IsWindowEnabled() != FALSE;
    look.focused = look.enabled && GetFocus() == this;
    look.dropped = list_.IsOpen();

    // The arrow's button is a square of the box's height at its right, as wide as a finger.
    const int side = std::min(client.Height(), client.Width());
    const CRect field(client.left, client.top, client.right - side, client.bottom);
    const CRect button(client.right - side, client.top, client.right, client.bottom);

    dc.FillSolidRect(&field, GetSysColor(look.enabled ? COLOR_WINDOW : COLOR_BTNFACE));
    if (look.focused) {
        CRect mark = field;
        mark.DeflateRect(platform::ScaleForDisplay(2), platform::ScaleForDisplay(2));
        dc.FillSolidRect(&mark, GetSysColor(COLOR_HIGHLIGHT));
    }
    HGDIOBJ previousFont = dc.SelectObject(platform::ControlFont(m_hWnd));
    const int previousMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF previousColor = dc.SetTextColor(GetSysColor(!look.enabled  ? COLOR_GRAYTEXT
                                                               : look.focused ? COLOR_HIGHLIGHTTEXT
                                                                              : COLOR_WINDOWTEXT));
    CRect text = field;
    text.DeflateRect(platform::ScaleForDisplay(4), 0);
    dc.DrawText(GetWindowText(), &text, DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetTextColor(previousColor);
    dc.SetBkMode(previousMode);
    dc.SelectObject(previousFont);

    // The button shows pressed while the list is down.
    dc.FillSolidRect(&button, GetSysColor(look.dropped ? COLOR_BTNSHADOW : COLOR_BTNFACE));
    const CRect edge(button.left, button.top, button.left + 1, button.bottom);
    dc.FillSolidRect(&edge, GetSysColor(COLOR_BTNSHADOW));
    DrawArrow(dc, button,
              GetSysColor(!look.enabled  ? COLOR_GRAYTEXT
                          : look.dropped ? COLOR_BTNHIGHLIGHT
                                         : COLOR_BTNTEXT));
    platform::DrawControlFrame(dc, client, 1, GetSysColor(COLOR_BTNSHADOW));
}

void CComboBox::OnLButtonDown(UINT /*flags*/, CPoint /*point*/) {
    const HWND self = m_hWnd;
    // The box takes the focus first: the keys then work the list it drops.
    if (GetFocus() != this) SetFocus();
    if (!::IsWindow(self) || GetFocus() != this) return;
    if (list_.IsOpen()) {
        CloseList(false);  // the list had lost its hold on the stylus
        return;
    }
    OpenList(true);
}

void CComboBox::OnLButtonUp(UINT /*flags*/, CPoint /*point*/) {
    if (!swallowingPress_) return;
    swallowingPress_ = false;
    if (GetCapture() == this) ::ReleaseCapture();
}

void CComboBox::OnKeyDown(UINT key, UINT /*repeatCount*/, UINT /*flags*/) {
    if (!HandleKey(key)) Default();
}

void CComboBox::OnSetFocus(CWnd* /*oldWindow*/) {
    Invalidate(FALSE);
    Notify(CBN_SETFOCUS);
}

void CComboBox::OnKillFocus(CWnd* /*newWindow*/) {
    const HWND self = m_hWnd;
    CloseList(false);
    if (!::IsWindow(self)) return;
    Invalidate(FALSE);
    Notify(CBN_KILLFOCUS);
}

void CComboBox::OnDestroy() {
    list_.Close();
    // The entries belong to the window: the object created again starts empty.
    entries_.clear();
    selected_ = CB_ERR;
    Default();
}

LRESULT CComboBox::OnEnable(WPARAM wParam, LPARAM /*lParam*/) {
    const HWND self = m_hWnd;
    if (wParam == 0) CloseList(false);
    if (::IsWindow(self)) Invalidate(FALSE);
    return 0;
}

LRESULT CComboBox::OnShowWindow(WPARAM wParam, LPARAM /*lParam*/) {
    if (wParam == 0) CloseList(false);
    return 0;
}

LRESULT CComboBox::OnCaptureChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    swallowingPress_ = false;
    return 0;
}

void CComboBox::ChooseFromList(int index) {
    list_.SetCurrent(index);
    CloseList(true);
}

void CComboBox::DismissFromList() {
    // The rest of the press comes to the box and ends here, so that the tap that closed the list
    // reaches nothing beneath it.
    SetCapture();
    swallowingPress_ = true;
    CloseList(false);
}

void CComboBox::CancelFromList() { CloseList(false); }

bool CComboBox::HandleKey(UINT key) {
    const bool alt = GetKeyState(VK_MENU) < 0;
    // F4 and Alt with Up or Down drop the list and close it again, keeping the highlighted entry.
    const bool toggle = key == VK_F4 || (alt && (key == VK_DOWN || key == VK_UP));
    if (list_.IsOpen()) {
        if (toggle || key == VK_RETURN) {
            CloseList(true);
        } else if (key == VK_ESCAPE) {
            CloseList(false);
        } else if (key == VK_DOWN || key == VK_UP) {
            list_.MoveCurrent(key == VK_DOWN ? 1 : -1);
        } else {
            return false;
        }
        return true;
    }
    if (toggle) {
        OpenList(false);
    } else if (key == VK_DOWN || key == VK_UP) {
        StepSelection(key == VK_DOWN ? 1 : -1);
    } else {
        return false;  // Enter and Escape of a closed box are the dialog's
    }
    return true;
}

void CComboBox::OpenList(bool pressHeld) {
    if (list_.IsOpen() || !IsWindowEnabled() || !IsWindowVisible()) return;
    // The parent may still fill the list when it hears of it.
    if (!Notify(CBN_DROPDOWN) || list_.IsOpen()) return;
    if (list_.Open(droppedHeight_, selected_, pressHeld)) Invalidate(FALSE);
}

void CComboBox::CloseList(bool choose) {
    if (!list_.IsOpen()) return;
    const int highlighted = list_.GetCurrent();
    list_.Close();
    Invalidate(FALSE);
    if (choose && highlighted >= 0 && highlighted != selected_) {
        Select(highlighted);
        if (!Notify(CBN_SELCHANGE)) return;
    }
    if (!Notify(choose ? CBN_SELENDOK : CBN_SELENDCANCEL)) return;
    Notify(CBN_CLOSEUP);
}

void CComboBox::StepSelection(int step) {
    const int count = static_cast<int>(entries_.size());
    if (count == 0) return;
    // From no selection, either key selects the first entry.
    const int next = selected_ < 0 ? 0 : std::clamp(selected_ + step, 0, count - 1);
    if (next == selected_) return;
    Select(next);
    Notify(CBN_SELCHANGE);
}

void CComboBox::Select(int index) {
    selected_ = index;
    const wchar_t* text = index >= 0 ? entries_[static_cast<std::size_t>(index)].c_str() : L"";
    DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    if (list_.IsOpen()) list_.SetCurrent(index);
    Invalidate(FALSE);
}

bool CComboBox::Notify(UINT code) {
    const HWND self = m_hWnd;
    if (HWND parent = ::GetParent(self)) {
        ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(self), static_cast<int>(code)),
                      reinterpret_cast<LPARAM>(self));
    }
    return ::IsWindow(self) != FALSE;
}

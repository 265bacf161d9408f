#include "platform/controls/combo_box.h"

#include <algorithm>
#include <cwctype>

#include "platform/base/system_metrics.h"
#include "platform/controls/control_drawing.h"
#include "platform/graphics/system_colors.h"
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

bool StartsWithIgnoringCase(const std::wstring& text, const wchar_t* prefix) {
    for (std::size_t index = 0; prefix[index] != L'\0'; ++index) {
        if (index >= text.size() || std::towlower(static_cast<wint_t>(text[index])) !=
                                        std::towlower(static_cast<wint_t>(prefix[index]))) {
            return false;
        }
    }
    return true;
}

}  // namespace

IMPLEMENT_DYNAMIC(CComboBox, CWnd)

BEGIN_MESSAGE_MAP(CComboBox, CWnd)
ON_WM_PAINT()
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
    return CWnd::Create(className, L"", style, closed, parent, id);
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

LRESULT CComboBox::OnAddString(WPARAM /*wParam*/, LPARAM lParam) {
    const auto* text = reinterpret_cast<const wchar_t*>(lParam);
    entries_.emplace_back(text != nullptr ? text : L"");
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
    return 0;
}
LRESULT CComboBox::OnShowDropDown(WPARAM wParam, LPARAM /*lParam*/) {
    dropped_ = wParam != 0;
    return TRUE;
}
LRESULT CComboBox::OnGetDroppedState(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    return dropped_ ? TRUE : FALSE;
}

void CComboBox::Select(int index) {
    selected_ = index;
    const wchar_t* text = index >= 0 ? entries_[static_cast<std::size_t>(index)].c_str() : L"";
    DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    Invalidate(FALSE);
}

void CComboBox::OnPaint() {
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, GetSysColor(COLOR_WINDOW));
    platform::DrawControlFrame(dc, client, 1, GetSysColor(COLOR_BTNSHADOW));
    HGDIOBJ previousFont = dc.SelectObject(platform::ControlFont(m_hWnd));
    const int previousMode = dc.SetBkMode(TRANSPARENT);
    CRect text = client;
    text.DeflateRect(platform::ScaleForDisplay(4), 0);
    dc.DrawText(GetWindowText(), &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SetBkMode(previousMode);
    dc.SelectObject(previousFont);
}

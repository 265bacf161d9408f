#include "platform/controls/edit.h"

#include <algorithm>

#include "platform/base/system_metrics.h"
#include "platform/controls/control_drawing.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/clipboard.h"
#include "platform/windows/window_dc.h"

namespace {

// Room between the frame and the text, on the left and (for the caret) on the right.
int Padding() { return platform::ScaleForDisplay(3); }

bool IsKeyDown(int virtualKey) { return GetKeyState(virtualKey) < 0; }

// Typed characters that go into the text; control characters (Backspace, Tab, Enter, Escape
// arrive as keys) and values that are no character never do.
bool IsTypable(UINT character) {
    return character >= 0x20 && character != 0x7F && character <= 0x10FFFF &&
           (character < 0xD800 || character > 0xDFFF);
}

// A single line takes pasted text up to its first line break.
std::wstring_view FirstLine(std::wstring_view text) {
    return text.substr(0, text.find_first_of(std::wstring_view(L"\r\n\0", 3)));
}

int TextHeight(const CDC& dc) {
    TEXTMETRIC metrics{};
    dc.GetTextMetrics(&metrics);
    return metrics.tmHeight;
}

}  // namespace

IMPLEMENT_DYNAMIC(CEdit, CWnd)

BEGIN_MESSAGE_MAP(CEdit, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_KILLFOCUS()
ON_WM_LBUTTONDOWN()
ON_WM_MOUSEMOVE()
ON_WM_LBUTTONUP()
ON_WM_KEYDOWN()
ON_WM_CHAR()
ON_MESSAGE(WM_CAPTURECHANGED, OnCaptureChanged)
ON_MESSAGE(WM_ENABLE, OnEnable)
ON_MESSAGE(WM_SETTEXT, OnSetText)
ON_MESSAGE(WM_SETFONT, OnSetFont)
ON_MESSAGE(EM_GETSEL, OnGetSel)
ON_MESSAGE(EM_SETSEL, OnSetSel)
ON_MESSAGE(EM_SCROLLCARET, OnScrollCaret)
ON_MESSAGE(EM_LIMITTEXT, OnLimitText)
ON_MESSAGE(EM_GETLIMITTEXT, OnGetLimitText)
ON_MESSAGE(WM_CUT, OnCut)
ON_MESSAGE(WM_COPY, OnCopy)
ON_MESSAGE(WM_PASTE, OnPaste)
ON_MESSAGE(WM_CLEAR, OnClear)
END_MESSAGE_MAP()

CEdit::CEdit() = default;

CEdit::~CEdit() = default;

BOOL CEdit::Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
    static const wchar_t* className =
        AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW, ::LoadCursor(nullptr, IDC_ARROW));
    return CWnd::Create(className, L"", style, rect, parent, id);
}

void CEdit::SetSel(int start, int end, BOOL noScroll) {
    SendMessage(EM_SETSEL, static_cast<WPARAM>(start), end);
    if (!noScroll) SendMessage(EM_SCROLLCARET);
}

void CEdit::GetSel(int& start, int& end) const {
    DWORD first = 0;
    DWORD last = 0;
    ::SendMessage(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&first),
                  reinterpret_cast<LPARAM>(&last));
    start = static_cast<int>(first);
    end = static_cast<int>(last);
}

void CEdit::Cut() { SendMessage(WM_CUT); }
void CEdit::Copy() { SendMessage(WM_COPY); }
void CEdit::Paste() { SendMessage(WM_PASTE); }
void CEdit::Clear() { SendMessage(WM_CLEAR); }
void CEdit::LimitText(int limit) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(limit)); }

int CEdit::GetLimitText() const {
    return static_cast<int>(::SendMessage(m_hWnd, EM_GETLIMITTEXT, 0, 0));
}

// ---- Messages ----------------------------------------------------------------------------------

int CEdit::OnCreate(LPCREATESTRUCT createStruct) {
    if (CWnd::OnCreate(createStruct) == -1) return -1;
    text_.SetText(createStruct->lpszName != nullptr ? createStruct->lpszName : L"");
    return 0;
}

LRESULT CEdit::OnSetText(WPARAM /*wParam*/, LPARAM lParam) {
    // New text always counts as a change, even the same text again: the parent relies on hearing
    // of every SetWindowText.
    text_.SetText(lParam != 0 ? reinterpret_cast<const wchar_t*>(lParam) : L"");
    AfterEdit(true);
    return TRUE;
}

LRESULT CEdit::OnSetFont(WPARAM /*wParam*/, LPARAM lParam) {
    Default();
    // Measured again even for the same handle: a new font may have taken a deleted one's handle.
    measured_ = false;
    ScrollCaretIntoView();
    if (lParam != 0) Invalidate(FALSE);
    return 0;
}

void CEdit::OnSize(UINT /*type*/, int /*width*/, int /*height*/) { ScrollCaretIntoView(); }

LRESULT CEdit::OnGetSel(WPARAM wParam, LPARAM lParam) {
    const auto start = static_cast<DWORD>(text_.SelectionStart());
    const auto end = static_cast<DWORD>(text_.SelectionEnd());
    if (wParam != 0) *reinterpret_cast<DWORD*>(wParam) = start;
    if (lParam != 0) *reinterpret_cast<DWORD*>(lParam) = end;
    // Positions that do not fit a word each are only told through the pointers.
    if (start > 0xFFFF || end > 0xFFFF) return -1;
    return static_cast<LRESULT>(start | (end << 16));
}

LRESULT CEdit::OnSetSel(WPARAM wParam, LPARAM lParam) {
    const auto start = static_cast<int>(static_cast<LONG>(wParam));
    const auto end = static_cast<int>(lParam);
    if (start < 0) {
        text_.MoveCaret(text_.Caret(), false);
    } else {
        text_.Select(start, end < 0 ? text_.Length() : end);
    }
    Invalidate(FALSE);
    return 0;
}

LRESULT CEdit::OnScrollCaret(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    ScrollCaretIntoView();
    Invalidate(FALSE);
    return TRUE;
}

LRESULT CEdit::OnLimitText(WPARAM wParam, LPARAM /*lParam*/) {
    limit_ =
        wParam == 0 ? kMaximumLimit : static_cast<int>(std::min<WPARAM>(wParam, kMaximumLimit));
    return 0;
}

LRESULT CEdit::OnGetLimitText(WPARAM /*wParam*/, LPARAM /*lParam*/) { return limit_; }

LRESULT CEdit::OnCopy(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (text_.HasSelection()) platform::SetClipboardText(text_.SelectedText());
    return 0;
}

LRESULT CEdit::OnCut(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (!text_.HasSelection()) return 0;
    platform::SetClipboardText(text_.SelectedText());
    AfterEdit(text_.ReplaceSelection({}));
    return 0;
}

LRESULT CEdit::OnClear(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    if (text_.HasSelection()) AfterEdit(text_.ReplaceSelection({}));
    return 0;
}

LRESULT CEdit::OnPaste(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    const std::wstring clipboard = platform::GetClipboardText();
    const std::wstring_view pasted = FirstLine(clipboard);
    // A paste that brings a character the box refuses changes nothing at all.
    if (!pasted.empty() && AcceptsText(pasted)) InsertText(pasted);
    return 0;
}

// ---- Input -------------------------------------------------------------------------------------

void CEdit::OnChar(UINT character, UINT /*repeatCount*/, UINT /*flags*/) {
    if (!IsTypable(character)) {
        Default();
        return;
    }
    const auto typed = static_cast<wchar_t>(character);
    if (AcceptsText(std::wstring_view(&typed, 1))) InsertText(std::wstring_view(&typed, 1));
}

void CEdit::OnKeyDown(UINT key, UINT /*repeatCount*/, UINT /*flags*/) {
    const bool shift = IsKeyDown(VK_SHIFT);
    const bool control = IsKeyDown(VK_CONTROL);
    switch (key) {
        case VK_LEFT:
            MoveCaretTo(shift ? text_.Caret() - 1 : text_.StepLeft(), shift);
            return;
        case VK_RIGHT:
            MoveCaretTo(shift ? text_.Caret() + 1 : text_.StepRight(), shift);
            return;
        case VK_HOME:
            MoveCaretTo(0, shift);
            return;
        case VK_END:
            MoveCaretTo(text_.Length(), shift);
            return;
        case VK_BACK:
            AfterEdit(text_.DeleteBackward());
            return;
        case VK_DELETE:
            if (shift) {
                SendMessage(WM_CUT);
            } else {
                AfterEdit(text_.DeleteForward());
            }
            return;
        case VK_INSERT:
            if (control || shift) {
                SendMessage(control ? WM_COPY : WM_PASTE);
                return;
            }
            break;
        case 'A':
            if (control) {
                text_.Select(0, text_.Length());
                AfterEdit(false);
                return;
            }
            break;
        case 'C':
        case 'V':
        case 'X':
            if (control) {
                SendMessage(key == 'C' ? WM_COPY : key == 'V' ? WM_PASTE : WM_CUT);
                return;
            }
            break;
        default:
            break;
    }
    // Up, Down, Enter, Escape, the soft keys and the rest are for the dialog around the box.
    Default();
}

void CEdit::OnLButtonDown(UINT /*flags*/, CPoint point) {
    if (GetFocus() != this) SetFocus();
    SetCapture();
    stylusHeld_ = true;
    MoveCaretTo(PositionAt(point), IsKeyDown(VK_SHIFT));
}

void CEdit::OnMouseMove(UINT /*flags*/, CPoint point) {
    // A drag selects from where the stylus went down; past either end the text scrolls along.
    if (stylusHeld_) MoveCaretTo(PositionAt(point), true);
}

void CEdit::OnLButtonUp(UINT /*flags*/, CPoint /*point*/) {
    if (!stylusHeld_) return;
    stylusHeld_ = false;
    if (GetCapture() == this) ::ReleaseCapture();
}

LRESULT CEdit::OnCaptureChanged(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    stylusHeld_ = false;
    return 0;
}

LRESULT CEdit::OnEnable(WPARAM /*wParam*/, LPARAM /*lParam*/) {
    // Greyed or back in colour.
    Invalidate(FALSE);
    return 0;
}

void CEdit::OnSetFocus(CWnd* /*oldWindow*/) {
    Invalidate(FALSE);
    NotifyParent(EN_SETFOCUS);
}

void CEdit::OnKillFocus(CWnd* /*newWindow*/) {
    Invalidate(FALSE);
    NotifyParent(EN_KILLFOCUS);
}

// ---- Painting ----------------------------------------------------------------------------------

void CEdit::OnPaint() {
    CPaintDC dc(this);
    CRect client(0, 0, 0, 0);  // stays empty should the window be gone
    GetClientRect(&client);
    const bool enabled = IsWindowEnabled() != FALSE;
    const bool focused = enabled && GetFocus() == this;
    const COLORREF background = GetSysColor(enabled ? COLOR_WINDOW : COLOR_BTNFACE);
    const COLORREF foreground = GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT);
    dc.FillSolidRect(&client, background);

    HGDIOBJ previousFont = dc.SelectObject(platform::ControlFont(m_hWnd));
    const int previousMode = dc.SetBkMode(TRANSPARENT);
    const platform::EditLine& line = Line();
    const CRect area = TextArea();
    const int lineHeight = TextHeight(dc);
    // Centred as DrawText centres a single line.
    const int lineTop = client.top + (client.Height() - lineHeight) / 2;
    const int origin = area.left - scroll_;
    const std::wstring shown = platform::ShownEditText(text_.Text());
    const bool showSelection =
        text_.HasSelection() && (focused || (GetStyle() & ES_NOHIDESEL) != 0);
    const int selectionStart = showSelection ? text_.SelectionStart() : text_.Length();
    const int selectionEnd = showSelection ? text_.SelectionEnd() : text_.Length();

    // Three runs: before, in and after the selection; characters keep their places whatever run
    // they are drawn in, since each moves the pen by its own advance.
    auto drawRun = [&](int from, int to, COLORREF color) {
        if (from >= to) return;
        CRect run(origin + line.Offset(from), client.top, origin + line.Offset(to), client.bottom);
        dc.SetTextColor(color);
        dc.DrawText(shown.data() + from, to - from, &run,
                    DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_NOCLIP);
    };
    if (showSelection) {
        CRect band(origin + line.Offset(selectionStart), lineTop,
                   origin + line.Offset(selectionEnd), lineTop + lineHeight);
        band.IntersectRect(&band, &area);
        dc.FillSolidRect(&band, GetSysColor(COLOR_HIGHLIGHT));
    }
    const COLORREF previousColor = dc.SetTextColor(foreground);
    drawRun(0, selectionStart, foreground);
    drawRun(selectionStart, selectionEnd, GetSysColor(COLOR_HIGHLIGHTTEXT));
    drawRun(selectionEnd, text_.Length(), foreground);
    // Text scrolled into the padding is wiped off again.
    const CRect leftPadding(client.left, client.top, area.left, client.bottom);
    const CRect rightPadding(area.right, client.top, client.right, client.bottom);
    dc.FillSolidRect(&leftPadding, background);
    dc.FillSolidRect(&rightPadding, background);

    if (focused) {
        const int caretX = origin + line.Offset(text_.Caret());
        CRect caret(caretX, lineTop, caretX + 1, lineTop + lineHeight);
        caret.IntersectRect(&caret, &area);
        if (!caret.IsRectEmpty()) dc.FillSolidRect(&caret, foreground);
    }
    dc.SetTextColor(previousColor);
    dc.SetBkMode(previousMode);
    dc.SelectObject(previousFont);
}

// ---- Editing steps -----------------------------------------------------------------------------

void CEdit::AfterEdit(bool textChanged) {
    if (textChanged) {
        // The window text is the edit's text, for everyone who reads it without asking the box.
        CWnd::DefWindowProc(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text_.Text().c_str()));
        measured_ = false;
    }
    ScrollCaretIntoView();
    Invalidate(FALSE);
    if (textChanged) NotifyParent(EN_CHANGE);
}

bool CEdit::AcceptsText(std::wstring_view text) const {
    if ((GetStyle() & ES_NUMBER) == 0) return true;
    return std::ranges::all_of(text, [](wchar_t c) { return c >= L'0' && c <= L'9'; });
}

void CEdit::InsertText(std::wstring_view text) {
    const std::size_t fitting = FittingLength(text);
    if (fitting == 0) return;
    AfterEdit(text_.ReplaceSelection(text.substr(0, fitting)));
}

std::size_t CEdit::FittingLength(std::wstring_view text) {
    const int kept = text_.Length() - (text_.SelectionEnd() - text_.SelectionStart());
    std::size_t count = std::min(text.size(), static_cast<std::size_t>(std::max(0, limit_ - kept)));
    if ((GetStyle() & ES_AUTOHSCROLL) != 0) return count;
    // Without scrolling, the text stops at the right edge, with a pixel left for the caret.
    const platform::EditLine& line = Line();
    const int room = TextArea().Width() - 1;
    long long width =
        line.Width() - (line.Offset(text_.SelectionEnd()) - line.Offset(text_.SelectionStart()));
    const std::vector<int> advances =
        platform::EditCharacterAdvances(platform::ControlFont(m_hWnd), text.substr(0, count));
    std::size_t fits = 0;
    while (fits < count && width + advances[fits] <= room) width += advances[fits++];
    return fits;
}

void CEdit::MoveCaretTo(int position, bool extend) {
    text_.MoveCaret(position, extend);
    AfterEdit(false);
}

void CEdit::ScrollCaretIntoView() {
    if ((GetStyle() & ES_AUTOHSCROLL) == 0) {
        scroll_ = 0;
        return;
    }
    const platform::EditLine& line = Line();
    const int width = TextArea().Width();
    const int caretX = line.Offset(text_.Caret());
    // The caret's pixel stays inside the text area; no room is left empty after the text.
    scroll_ = width < 1 ? caretX : std::clamp(scroll_, caretX - width + 1, caretX);
    scroll_ = std::clamp(scroll_, 0, std::max(0, line.Width() + 1 - width));
}

int CEdit::PositionAt(CPoint point) {
    return Line().NearestPosition(point.x - TextArea().left + scroll_);
}

CRect CEdit::TextArea() const {
    CRect client(0, 0, 0, 0);  // stays empty should the window be gone
    GetClientRect(&client);
    const int padding = Padding();
    CRect area = client;
    area.left += padding;
    area.right = std::max(area.left, client.right - padding);
    return area;
}

const platform::EditLine& CEdit::Line() {
    HFONT font = platform::ControlFont(m_hWnd);
    if (!measured_ || font != measuredFont_) {
        line_.Measure(font, text_.Text());
        measuredFont_ = font;
        measured_ = true;
    }
    return line_;
}

void CEdit::NotifyParent(UINT code) {
    HWND parent = ::GetParent(m_hWnd);
    if (parent == nullptr) return;
    ::SendMessage(parent, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), code),
                  reinterpret_cast<LPARAM>(m_hWnd));
}

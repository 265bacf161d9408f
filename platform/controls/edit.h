// CEdit: the platform's single-line edit control. It keeps its text as the window text, shows the
// caret where the user put it (a tap, the arrow keys, Home and End), selects with Shift or a drag,
// cuts, copies and pastes through the system clipboard, scrolls the text to keep the caret in view
// (ES_AUTOHSCROLL), accepts only digits with ES_NUMBER, and tells the parent of every change of
// its text with EN_CHANGE. Keys it has no use for go on as usual, so dialogs still act on them.
#pragma once

#include <string_view>

#include "platform/controls/edit_line.h"
#include "platform/controls/edit_text.h"
#include "platform/windows/cwnd.h"

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
// The selection stays shown while the box does not have the focus.
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_NUMBER = 0x2000;

constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_SCROLLCARET = 0x00B7;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;

// Notification codes in the high word of WM_COMMAND's wParam.
constexpr UINT EN_SETFOCUS = 0x0100;
constexpr UINT EN_KILLFOCUS = 0x0200;
constexpr UINT EN_CHANGE = 0x0300;

class CEdit : public CWnd {
    DECLARE_DYNAMIC(CEdit)

  public:
    // The most characters typing and pasting leave in the box until LimitText says otherwise,
    // and the most LimitText allows.
    static constexpr int kDefaultLimit = 30000;
    static constexpr int kMaximumLimit = 0x7FFFFFFE;

    CEdit();
    ~CEdit() override;

    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // The selection, as character positions; start = end is the caret alone. SetSel(0, -1)
    // selects everything and SetSel(-1, 0) nothing; the caret goes to `end`, and into view
    // unless `noScroll`.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    // The most characters the text may hold (0: the platform's limit). Text already longer is
    // kept; SetWindowText is not limited.
    void LimitText(int limit = 0);
    int GetLimitText() const;

  protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnPaint();
    void OnSize(UINT type, int width, int height);
    void OnSetFocus(CWnd* oldWindow);
    void OnKillFocus(CWnd* newWindow);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    void OnChar(UINT character, UINT repeatCount, UINT flags);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetFont(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetSel(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetSel(WPARAM wParam, LPARAM lParam);
    LRESULT OnScrollCaret(WPARAM wParam, LPARAM lParam);
    LRESULT OnLimitText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetLimitText(WPARAM wParam, LPARAM lParam);
    LRESULT OnCut(WPARAM wParam, LPARAM lParam);
    LRESULT OnCopy(WPARAM wParam, LPARAM lParam);
    LRESULT OnPaste(WPARAM wParam, LPARAM lParam);
    LRESULT OnClear(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

  private:
    // The one step after every edit: the window text, the view and the picture follow the
    // text, and the parent hears of a change.
    void AfterEdit(bool textChanged);
    // Puts as much of `text` as the limit and, without ES_AUTOHSCROLL, the box's width allow in
    // place of the selection; refused when none of it fits.
    void InsertText(std::wstring_view text);
    std::size_t FittingLength(std::wstring_view text);
    void MoveCaretTo(int position, bool extend);
    void ScrollCaretIntoView();
    bool AcceptsText(std::wstring_view text) const;
    int PositionAt(CPoint point);
    // The band of the client area that shows text, inside the padding.
    CRect TextArea() const;
    const platform::EditLine& Line();
    // EN_ notifications to the parent: the one place the box speaks. Callers send them last,
    // since the parent may end the box's life in its handler.
    void NotifyParent(UINT code);

    platform::EditText text_;
    platform::EditLine line_;
    // What line_ was measured for.
    HFONT measuredFont_ = nullptr;
    bool measured_ = false;
    int scroll_ = 0;  // pixels of text scrolled out on the left
    int limit_ = kDefaultLimit;
    bool stylusHeld_ = false;
};

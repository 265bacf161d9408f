// CEdit: the platform's single-line edit control. It keeps its text as the window text, shows the
// caret where the user put it, scrolls the text to keep the caret in view (ES_AUTOHSCROLL),
// accepts only digits with ES_NUMBER, and tells the parent of every change of its text with
// EN_CHANGE.
#pragma once

#include "platform/windows/cwnd.h"

constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NUMBER = 0x2000;

constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_LIMITTEXT = 0x00C5;
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
    CEdit();
    ~CEdit() override;

    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    // The selection, as character positions; start = end is the caret alone.
    void SetSel(int start, int end, BOOL noScroll = FALSE);
    void GetSel(int& start, int& end) const;
    void Cut();
    void Copy();
    void Paste();
    void Clear();
    // The most characters the text may hold (0: the platform's limit).
    void LimitText(int limit = 0);

  protected:
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    void OnPaint();

    DECLARE_MESSAGE_MAP()

  private:
    void NotifyParent(UINT code);
};

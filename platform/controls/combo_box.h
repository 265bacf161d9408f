// CComboBox: the platform's drop-down list (CBS_DROPDOWNLIST). The closed box shows the selected
// entry and is always the platform's own height, whatever height the caller asks for; the height
// asked for is how far the list may reach when it drops down. Entries are kept in the order they
// were added. A tap on the box, F4 or Alt+Down drops the list (CComboDropList); a tap on an entry
// or Enter chooses, Escape or a tap elsewhere closes it without a choice. Up and Down change the
// selection of the closed box and move the highlight in the open list. The parent hears of it all
// through WM_COMMAND notifications, sent from one place.
#pragma once

#include <string>
#include <vector>

#include "platform/controls/combo_drop_list.h"
#include "platform/windows/cwnd.h"

constexpr DWORD CBS_DROPDOWNLIST = 0x0003;

constexpr UINT CB_ADDSTRING = 0x0143;
constexpr UINT CB_GETCOUNT = 0x0146;
constexpr UINT CB_GETCURSEL = 0x0147;
constexpr UINT CB_GETLBTEXT = 0x0148;
constexpr UINT CB_GETLBTEXTLEN = 0x0149;
constexpr UINT CB_RESETCONTENT = 0x014B;
constexpr UINT CB_SELECTSTRING = 0x014D;
constexpr UINT CB_SETCURSEL = 0x014E;
constexpr UINT CB_SHOWDROPDOWN = 0x014F;
constexpr UINT CB_GETDROPPEDSTATE = 0x0157;
constexpr int CB_ERR = -1;

// Notification codes in the high word of WM_COMMAND's wParam.
constexpr UINT CBN_SELCHANGE = 1;
constexpr UINT CBN_SETFOCUS = 3;
constexpr UINT CBN_KILLFOCUS = 4;
constexpr UINT CBN_DROPDOWN = 7;
constexpr UINT CBN_CLOSEUP = 8;
constexpr UINT CBN_SELENDOK = 9;
constexpr UINT CBN_SELENDCANCEL = 10;

namespace platform {
// The height of a closed combo box: the default font's height and room around it, at the
// display's density.
int ComboBoxClosedHeight();
}  // namespace platform

class CComboBox : public CWnd {
    DECLARE_DYNAMIC(CComboBox)

  public:
    CComboBox();
    ~CComboBox() override;

    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);

    int AddString(const wchar_t* text);
    int GetCount() const;
    int GetCurSel() const;
    int SetCurSel(int index);
    // Selects the first entry after `startAfter` (-1: from the top) that begins with `text`,
    // ignoring case and wrapping round; its index, or CB_ERR when none does.
    int SelectString(int startAfter, const wchar_t* text);
    void GetLBText(int index, std::wstring& text) const;
    int GetLBTextLen(int index) const;
    void ResetContent();
    void ShowDropDown(BOOL show = TRUE);
    BOOL GetDroppedState() const;

    // Escape and Enter belong to an open list before the dialog sees them.
    BOOL PreTranslateMessage(MSG* message) override;

  protected:
    LRESULT OnAddString(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCount(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCurSel(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCurSel(WPARAM wParam, LPARAM lParam);
    LRESULT OnSelectString(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetLBText(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetLBTextLen(WPARAM wParam, LPARAM lParam);
    LRESULT OnResetContent(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowDropDown(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetDroppedState(WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    void OnSetFocus(CWnd* oldWindow);
    void OnKillFocus(CWnd* newWindow);
    void OnDestroy();
    LRESULT OnEnable(WPARAM wParam, LPARAM lParam);
    LRESULT OnShowWindow(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

  private:
    friend class CComboDropList;

    // What the dropped list reports; each takes the list down.
    void ChooseFromList(int index);  // a tap on an entry
    void DismissFromList();          // a press outside the list, on the box or elsewhere
    void CancelFromList();           // the list lost the stylus

    // One key while the box has the focus; false when the key is not the combo box's.
    bool HandleKey(UINT key);
    void OpenList(bool pressHeld);
    // Takes the list down and tells the parent: the highlighted entry chosen, or nothing.
    void CloseList(bool choose);
    // The closed box's Up and Down.
    void StepSelection(int step);
    // Makes entry `index` (or none, -1) the selection and the window text.
    void Select(int index);
    // WM_COMMAND with `code` to the parent: the one place the combo box speaks. False when the
    // parent destroyed the combo box meanwhile (then nothing of it may be touched).
    bool Notify(UINT code);

    std::vector<std::wstring> entries_;
    int selected_ = CB_ERR;
    int droppedHeight_ = 0;  // how far the dropped list may reach, from the box's top
    CComboDropList list_{*this};
    bool swallowingPress_ = false;  // the press that closed the list: its release is ours too
};

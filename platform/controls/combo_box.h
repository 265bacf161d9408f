// CComboBox: the platform's drop-down list (CBS_DROPDOWNLIST). The closed box shows the selected
// entry and is always the platform's own height, whatever height the caller asks for; the height
// asked for is how far the list may reach when it drops down. Entries are kept in the order they
// were added.
#pragma once

#include <string>
#include <vector>

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

    DECLARE_MESSAGE_MAP()

  private:
    // Makes entry `index` (or none, -1) the selection and the window text.
    void Select(int index);

    std::vector<std::wstring> entries_;
    int selected_ = CB_ERR;
    int droppedHeight_ = 0;  // how far the dropped list may reach, from the box's top
    bool dropped_ = false;
};

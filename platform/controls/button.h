// CButton: the platform's push button, and its check box (BS_CHECKBOX, BS_AUTOCHECKBOX). A tap or
// click that ends on the button, or Space while it has the focus, tells the parent with BN_CLICKED.
// The default push button (BS_DEFPUSHBUTTON) and the focused one wear a thick frame in the
// selection colour; a held button shows pressed. A check box draws a finger-sized box with a tick
// when checked, its caption to the right and a frame around the caption when focused.
#pragma once

#include "platform/windows/cwnd.h"

constexpr DWORD BS_PUSHBUTTON = 0x00000000;
constexpr DWORD BS_DEFPUSHBUTTON = 0x00000001;
constexpr DWORD BS_CHECKBOX = 0x00000002;
constexpr DWORD BS_AUTOCHECKBOX = 0x00000003;
constexpr DWORD BS_TYPEMASK = 0x0000000F;

constexpr UINT BM_CLICK = 0x00F5;
constexpr UINT BM_SETSTYLE = 0x00F4;
constexpr UINT BM_GETCHECK = 0x00F0;
constexpr UINT BM_SETCHECK = 0x00F1;

// Check states (BM_GETCHECK / BM_SETCHECK).
constexpr int BST_UNCHECKED = 0;
constexpr int BST_CHECKED = 1;

// Notification code in the high word of WM_COMMAND's wParam.
constexpr UINT BN_CLICKED = 0;

class CButton : public CWnd {
    DECLARE_DYNAMIC(CButton)

  public:
    CButton();
    ~CButton() override;

    using CWnd::Create;
    BOOL Create(const wchar_t* caption, DWORD style, const RECT& rect, CWnd* parent, UINT id);
    // Changes the button type (BS_PUSHBUTTON or BS_DEFPUSHBUTTON) and redraws it.
    void SetButtonStyle(UINT style, BOOL redraw = TRUE);
    UINT GetButtonStyle() const;
    // The check state of a check box (BST_CHECKED or BST_UNCHECKED); BS_AUTOCHECKBOX toggles it
    // itself when clicked, before the parent hears BN_CLICKED.
    int GetCheck() const;
    void SetCheck(int check);

  protected:
    void OnPaint();
    void OnLButtonDown(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    void OnKeyUp(UINT key, UINT repeatCount, UINT flags);
    void OnSetFocus(CWnd* oldWindow);
    void OnKillFocus(CWnd* newWindow);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);
    LRESULT OnClick(WPARAM wParam, LPARAM lParam);
    LRESULT OnGetCheck(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetCheck(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

  private:
    void PaintPushButton(CDC& dc, const CRect& client);
    // The box with its tick at the left, the caption beside it, the focus around the caption.
    void PaintCheckBox(CDC& dc, const CRect& client);
    bool IsCheckBox() const;
    // Shows the button pressed or released; repaints only on a change.
    void SetPressed(bool pressed);
    bool ContainsClientPoint(CPoint point) const;
    // BN_CLICKED to the parent: the one place the button speaks.
    void NotifyClicked();

    bool pressed_ = false;
    bool stylusHeld_ = false;
    bool spaceHeld_ = false;
    int check_ = BST_UNCHECKED;
};

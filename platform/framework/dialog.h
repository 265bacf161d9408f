// The framework's dialog: a window built from a dialog template and run modally, ended with
// OK or Cancel.
#pragma once

#include <optional>

#include "platform/framework/resources.h"
#include "platform/windows/cwnd.h"

class CDialog : public CWnd {
    DECLARE_DYNAMIC(CDialog)

  public:
    explicit CDialog(UINT templateId, CWnd* parent = nullptr);
    // A dialog from a template made at run time, owned by `owner` exactly (null: no owner).
    CDialog(platform::DialogTemplate indirectTemplate, HWND owner);
    ~CDialog() override;

    // Creates the dialog, runs it until EndDialog and returns the result (-1 when it could not be
    // created).
    virtual INT_PTR DoModal();
    // Called once the window and its template exist, before it is shown; TRUE puts the focus on
    // the first control that takes it.
    virtual BOOL OnInitDialog();
    virtual void OnOK();
    virtual void OnCancel();
    void EndDialog(int result);
    BOOL PreTranslateMessage(MSG* message) override;

    // With the full-screen flag set, the framework places the dialog on the handheld's screen:
    // the whole of a small display, a handheld-shaped window in the middle of a large one.
    BOOL m_bFullScreen = TRUE;

  protected:
    LRESULT HandleInitDialog(WPARAM wParam, LPARAM lParam);
    // A dialog the framework placed on the handheld's screen follows the screen when it is
    // rotated or resized, and hears of its new size as WM_SIZE.
    LRESULT OnDisplayChange(WPARAM wParam, LPARAM lParam);
    void OnClose();

    DECLARE_MESSAGE_MAP()

  private:
    const platform::DialogTemplate* Template() const;
    void PlaceOnHandheldScreen();
    HWND ModalOwner() const;

    UINT templateId_ = 0;
    CWnd* parent_ = nullptr;
    std::optional<platform::DialogTemplate> indirectTemplate_;
    HWND indirectOwner_ = nullptr;
    bool continueModal_ = false;
    bool placedOnHandheldScreen_ = false;
    int result_ = -1;
    CFont dialogFont_;
};

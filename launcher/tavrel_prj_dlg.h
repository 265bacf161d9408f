// CTavrelPrjDlg: the launcher's one window, a dialog that holds the menu. It places itself from
// the screen, reads the options and entries, and ends when an entry starts, a soft key is
// released, it loses activation, or the screen changes its size.
#pragma once

#include <string>

#include "config/options.h"
#include "launcher/tavrel_cd.h"
#include "platform/framework/dialog.h"

class CTavrelPrjDlg : public CDialog {
  public:
    explicit CTavrelPrjDlg(CWnd* parent = nullptr);
    ~CTavrelPrjDlg() override;

    static constexpr UINT kMenuId = 1001;

    HICON m_hIcon;
    CTavrelCD menu;
    int screenWidth;
    int screenHeight;
    std::wstring logPath;
    Options options;

  protected:
    BOOL OnInitDialog() override;
    void InitLayout();
    void LoadEntries();
    void ApplyOptions();

    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnSize(UINT type, int width, int height);
    LRESULT OnMenuDone(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

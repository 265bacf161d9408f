// CStatic: the platform's static text control. It shows its window text on the dialog's face
// colour, wrapped at word boundaries, aligned as its style says (SS_LEFT, SS_CENTER, SS_RIGHT);
// with SS_NOPREFIX an ampersand is shown as it is.
#pragma once

#include "platform/windows/cwnd.h"

constexpr DWORD SS_LEFT = 0x00000000;
constexpr DWORD SS_CENTER = 0x00000001;
constexpr DWORD SS_RIGHT = 0x00000002;
constexpr DWORD SS_NOPREFIX = 0x00000080;

class CStatic : public CWnd {
    DECLARE_DYNAMIC(CStatic)

  public:
    CStatic();
    ~CStatic() override;

    using CWnd::Create;
    BOOL Create(const wchar_t* text, DWORD style, const RECT& rect, CWnd* parent, UINT id = 0xFFFF);

    // The DrawText format the control draws its text with.
    UINT TextFormat() const;

  protected:
    void OnPaint();
    LRESULT OnSetText(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()
};

// CDefaultWnd: the launcher's thin window base between CWnd and the menu window.
#pragma once

#include "platform/windows/cwnd.h"

class CDefaultWnd : public CWnd {
    DECLARE_DYNAMIC(CDefaultWnd)

  public:
    CDefaultWnd() = default;
    ~CDefaultWnd() override = default;

  protected:
    DECLARE_MESSAGE_MAP()
};

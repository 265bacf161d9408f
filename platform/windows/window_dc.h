// Device contexts tied to a window's life of one paint or one drawing: CPaintDC (inside WM_PAINT)
// and CClientDC (any time). Both give their context back when they go out of scope.
#pragma once

#include "platform/windows/cwnd.h"

class CPaintDC : public CDC {
  public:
    explicit CPaintDC(CWnd* window);
    ~CPaintDC() override;

    PAINTSTRUCT m_ps{};

  private:
    HWND window_;
};

class CClientDC : public CDC {
  public:
    explicit CClientDC(CWnd* window);
    ~CClientDC() override;

  private:
    HWND window_;
};

// A window for the SDL backend's tests: writes down the input and notices that reach it, and
// paints itself in one colour.
#pragma once

#include <string>
#include <vector>

#include "platform/windows/cwnd.h"

class ProbeWindow : public CWnd {
  public:
    explicit ProbeWindow(std::vector<std::string>* log, std::string name = "w")
        : log_(log), name_(std::move(name)) {}

    BOOL CreateTopLevel(const RECT& rect, DWORD style = WS_POPUP | WS_VISIBLE,
                        const wchar_t* title = L"probe", DWORD exStyle = 0);
    BOOL CreateChild(CWnd* parent, const RECT& rect);

    COLORREF color = RGB(255, 0, 0);

  protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    void Record(const std::string& event) { log_->push_back(name_ + ":" + event); }

    std::vector<std::string>* log_;
    std::string name_;
};

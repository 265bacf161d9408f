// A window that writes down the messages it handles, for tests of the message flow.
#pragma once

#include <string>
#include <vector>

#include "platform/windows/cwnd.h"

class RecordingWnd : public CWnd {
  public:
    explicit RecordingWnd(std::vector<std::string>* log, std::string name = "w")
        : log_(log), name_(std::move(name)) {}

    BOOL CreateChild(CWnd* parent, const RECT& rect, UINT id, DWORD extraStyle = WS_VISIBLE);
    BOOL CreateTopLevel(const RECT& rect, DWORD style = WS_POPUP | WS_VISIBLE);
    BOOL PreTranslateMessage(MSG* message) override;

    void Record(const std::string& event) { log_->push_back(name_ + ":" + event); }

    int createResult = 0;
    bool consumeKeys = false;
    bool paintWithColor = true;
    COLORREF color = RGB(10, 20, 30);
    int postNcDestroyCalls = 0;

  protected:
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnDestroy();
    void OnPaint();
    void OnSize(UINT type, int width, int height);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnSetFocus(CWnd* oldWindow);
    void OnKillFocus(CWnd* newWindow);
    LRESULT OnCustom(WPARAM wParam, LPARAM lParam);
    LRESULT OnCaptureChanged(WPARAM wParam, LPARAM lParam);
    void PostNcDestroy() override { ++postNcDestroyCalls; }

    DECLARE_MESSAGE_MAP()

  private:
    std::vector<std::string>* log_;
    std::string name_;
};

constexpr UINT WM_TEST_CUSTOM = WM_USER + 7;

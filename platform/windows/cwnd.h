// The framework's window classes: CCmdTarget (message maps) and CWnd (a window object attached
// to a window of the window system, whose messages it routes through its message map).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/graphics/gdi_classes.h"
#include "platform/windows/message_map.h"
#include "platform/windows/runtime_class.h"
#include "platform/windows/window_api.h"

class CCmdTarget : public CObject {
  public:
    // The handler entry for a message (for WM_COMMAND: with that code and identifier) in this
    // class's map or the maps it chains to; null when there is none.
    const MessageMapEntry* FindMessageEntry(UINT message, UINT code, UINT id) const;

  protected:
    static const MessageMap* GetThisMessageMap();
    virtual const MessageMap* GetMessageMap() const;
};

class CWnd : public CCmdTarget {
    DECLARE_DYNAMIC(CWnd)

  public:
    CWnd();
    // Destroys the window if it still exists.
    ~CWnd() override;

    HWND m_hWnd = nullptr;
    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return GetSafeHwnd(); }  // NOLINT(google-explicit-constructor)
    // The object attached to a window; null for a window without one.
    static CWnd* FromHandle(HWND hwnd);

    virtual BOOL Create(const wchar_t* className, const wchar_t* windowName, DWORD style,
                        const RECT& rect, CWnd* parent, UINT id, void* context = nullptr);
    virtual BOOL CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName,
                          DWORD style, int x, int y, int width, int height, HWND parent,
                          HMENU idOrMenu, void* param = nullptr);
    virtual BOOL DestroyWindow();

    // The message path: PreTranslateMessage sees queued messages before they are dispatched;
    // WindowProc receives every message and hands it to the message map (OnWndMsg) or, when no
    // entry handles it, to DefWindowProc.
    virtual BOOL PreTranslateMessage(MSG* message);
    virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
    virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
    virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
    // Called after the window is gone (WM_NCDESTROY); objects that own themselves delete here.
    virtual void PostNcDestroy();
    // The default processing of the message being handled.
    LRESULT Default();

    // Window operations.
    CWnd* GetParent() const;
    CWnd* GetDlgItem(int id) const;
    int GetDlgCtrlID() const;
    void GetClientRect(RECT* rect) const;
    void GetWindowRect(RECT* rect) const;
    void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
    void MoveWindow(const RECT* rect, BOOL repaint = TRUE);
    BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags);
    BOOL ShowWindow(int command);
    BOOL IsWindowVisible() const;
    BOOL EnableWindow(BOOL enable = TRUE);
    BOOL IsWindowEnabled() const;
    DWORD GetStyle() const;
    DWORD GetExStyle() const;
    BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
    void SetWindowText(const wchar_t* text);
    std::wstring GetWindowText() const;
    void ClientToScreen(POINT* point) const;
    void ScreenToClient(POINT* point) const;

    void Invalidate(BOOL erase = TRUE);
    void InvalidateRect(const RECT* rect, BOOL erase = TRUE);
    void ValidateRect(const RECT* rect);
    void UpdateWindow();
    BOOL RedrawWindow(const RECT* rect = nullptr, void* region = nullptr,
                      UINT flags = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
    // A device context on the client area, valid until ReleaseDC.
    CDC* GetDC();
    int ReleaseDC(CDC* dc);

    CWnd* SetFocus();
    static CWnd* GetFocus();
    CWnd* SetCapture();
    static CWnd* GetCapture();
    UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC procedure);
    BOOL KillTimer(UINT_PTR id);

    LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
    void SetFont(CFont* font, BOOL redraw = TRUE);
    // The window's own scroll bars (WS_VSCROLL, WS_HSCROLL).
    int SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw = TRUE);
    BOOL GetScrollInfo(int bar, SCROLLINFO* info, UINT mask = SIF_ALL) const;
    int SetScrollPos(int bar, int position, BOOL redraw = TRUE);
    int GetScrollPos(int bar) const;
    HICON SetIcon(HICON icon, BOOL bigIcon);
    int MessageBox(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK);

  protected:
    // Default handlers: the default processing of their message.
    int OnCreate(LPCREATESTRUCT createStruct);
    void OnDestroy();
    void OnClose();
    void OnPaint();
    BOOL OnEraseBkgnd(CDC* dc);
    void OnSize(UINT type, int width, int height);
    void OnActivate(UINT state, CWnd* other, BOOL minimized);
    void OnSetFocus(CWnd* oldWindow);
    void OnKillFocus(CWnd* newWindow);
    void OnLButtonDown(UINT flags, CPoint point);
    void OnLButtonUp(UINT flags, CPoint point);
    void OnMouseMove(UINT flags, CPoint point);
    void OnTimer(UINT_PTR id);
    void OnKeyDown(UINT key, UINT repeatCount, UINT flags);
    void OnKeyUp(UINT key, UINT repeatCount, UINT flags);
    void OnChar(UINT character, UINT repeatCount, UINT flags);
    void OnVScroll(UINT code, UINT position, CWnd* scrollBar);
    void OnHScroll(UINT code, UINT position, CWnd* scrollBar);

    DECLARE_MESSAGE_MAP()

  private:
    std::vector<std::unique_ptr<CDC>> openContexts_;
};

// Registers a window class for framework windows (the class procedure is DefWindowProc) and
// returns its generated name; the same arguments give the same class.
const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                   HBRUSH background = nullptr, HICON icon = nullptr);

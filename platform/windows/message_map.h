// Message maps: per class, a static table that routes window messages to handler methods, chained
// to the table of a named base class. The ON_ macros decode each message's parameters into the
// handler's arguments.
#pragma once

#include "platform/base/rect.h"
#include "platform/windows/messages.h"

class CCmdTarget;

using MessageHandler = LRESULT (*)(CCmdTarget* target, WPARAM wParam, LPARAM lParam);

struct MessageMapEntry {
    UINT message;
    UINT notifyCode;  // WM_COMMAND entries: the notification code
    UINT firstId;     // WM_COMMAND entries: the range of command or control identifiers
    UINT lastId;
    MessageHandler handler;  // null ends the table
};

struct MessageMap {
    const MessageMap* (*baseMap)();  // null for the root
    const MessageMapEntry* entries;
};

#define DECLARE_MESSAGE_MAP()                     \
  protected:                                      \
    static const MessageMap* GetThisMessageMap(); \
    const MessageMap* GetMessageMap() const override;

// The base named here is the table the map chains to; it need not be the C++ base class.
#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                        \
    const MessageMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
    const MessageMap* theClass::GetThisMessageMap() {                                 \
        using ThisClass [[maybe_unused]] = theClass;                                  \
        using TheBaseClass = baseClass;                                               \
        static const MessageMapEntry entries[] = {
#define END_MESSAGE_MAP()                                                             \
    { 0, 0, 0, 0, nullptr }                                                           \
    }                                                                                 \
    ;                                                                                 \
    static const MessageMap messageMap = {&TheBaseClass::GetThisMessageMap, entries}; \
    return &messageMap;                                                               \
    }

#define MESSAGE_MAP_TARGET static_cast<ThisClass*>(target)
#define MESSAGE_MAP_POINT CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam))

#define ON_WM_CREATE()                                                                  \
    {WM_CREATE, 0, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM lParam) -> LRESULT {     \
         return MESSAGE_MAP_TARGET->OnCreate(reinterpret_cast<LPCREATESTRUCT>(lParam)); \
     }},
#define ON_WM_DESTROY()                                                       \
    {WM_DESTROY, 0, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT { \
         MESSAGE_MAP_TARGET->OnDestroy();                                     \
         return 0;                                                            \
     }},
#define ON_WM_CLOSE()                                                       \
    {WM_CLOSE, 0, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT { \
         MESSAGE_MAP_TARGET->OnClose();                                     \
         return 0;                                                          \
     }},
#define ON_WM_PAINT()                                                       \
    {WM_PAINT, 0, 0, 0, [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT { \
         MESSAGE_MAP_TARGET->OnPaint();                                     \
         return 0;                                                          \
     }},
#define ON_WM_ERASEBKGND()                                                              \
    {WM_ERASEBKGND, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM) -> LRESULT { \
         CDC dc;                                                                        \
         dc.Attach(reinterpret_cast<HDC>(wParam));                                      \
         const BOOL erased = MESSAGE_MAP_TARGET->OnEraseBkgnd(&dc);                     \
         dc.Detach();                                                                   \
         return erased;                                                                 \
     }},
#define ON_WM_SIZE()                                                                            \
    {WM_SIZE, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT {        \
         MESSAGE_MAP_TARGET->OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); \
         return 0;                                                                              \
     }},
#define ON_WM_ACTIVATE()                                                                        \
    {WM_ACTIVATE, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT {    \
         MESSAGE_MAP_TARGET->OnActivate(                                                        \
             LOWORD(wParam), CWnd::FromHandle(reinterpret_cast<HWND>(lParam)), HIWORD(wParam)); \
         return 0;                                                                              \
     }},
#define ON_WM_SETFOCUS()                                                                   \
    {WM_SETFOCUS, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM) -> LRESULT {      \
         MESSAGE_MAP_TARGET->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))); \
         return 0;                                                                         \
     }},
#define ON_WM_KILLFOCUS()                                                                   \
    {WM_KILLFOCUS, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM) -> LRESULT {      \
         MESSAGE_MAP_TARGET->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(wParam))); \
         return 0;                                                                          \
     }},
#define ON_STYLUS_MESSAGE(messageId, method)                                               \
    {messageId, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT { \
         MESSAGE_MAP_TARGET->method(static_cast<UINT>(wParam), MESSAGE_MAP_POINT);         \
         return 0;                                                                         \
     }},
#define ON_WM_LBUTTONDOWN() ON_STYLUS_MESSAGE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() ON_STYLUS_MESSAGE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_MOUSEMOVE() ON_STYLUS_MESSAGE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_TIMER()                                                              \
    {WM_TIMER, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM) -> LRESULT { \
         MESSAGE_MAP_TARGET->OnTimer(static_cast<UINT_PTR>(wParam));               \
         return 0;                                                                 \
     }},
#define ON_KEY_MESSAGE(messageId, method)                                                       \
    {messageId, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT {      \
         MESSAGE_MAP_TARGET->method(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam)); \
         return 0;                                                                              \
     }},
#define ON_WM_KEYDOWN() ON_KEY_MESSAGE(WM_KEYDOWN, OnKeyDown)
#define ON_WM_KEYUP() ON_KEY_MESSAGE(WM_KEYUP, OnKeyUp)
#define ON_WM_CHAR() ON_KEY_MESSAGE(WM_CHAR, OnChar)
#define ON_SCROLL_MESSAGE(messageId, method)                                               \
    {messageId, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT { \
         MESSAGE_MAP_TARGET->method(LOWORD(wParam), HIWORD(wParam),                        \
                                    CWnd::FromHandle(reinterpret_cast<HWND>(lParam)));     \
         return 0;                                                                         \
     }},
#define ON_WM_VSCROLL() ON_SCROLL_MESSAGE(WM_VSCROLL, OnVScroll)
#define ON_WM_HSCROLL() ON_SCROLL_MESSAGE(WM_HSCROLL, OnHScroll)
#define ON_MESSAGE(messageId, method)                                                      \
    {messageId, 0, 0, 0, [](CCmdTarget* target, WPARAM wParam, LPARAM lParam) -> LRESULT { \
         return MESSAGE_MAP_TARGET->method(wParam, lParam);                                \
     }},
#define ON_CONTROL(code, id, method)                                                    \
    {WM_COMMAND, static_cast<UINT>(code), static_cast<UINT>(id), static_cast<UINT>(id), \
     [](CCmdTarget* target, WPARAM, LPARAM) -> LRESULT {                                \
         MESSAGE_MAP_TARGET->method();                                                  \
         return 0;                                                                      \
     }},
#define ON_COMMAND(id, method) ON_CONTROL(0, id, method)

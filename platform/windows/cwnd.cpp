#include "platform/windows/cwnd.h"

#include <algorithm>

#include "platform/windows/window_tree.h"

namespace {

// The message being handled, for Default(). Kept outside the object because an object may delete
// itself while handling the last message of its window.
thread_local const MSG* currentMessage = nullptr;

}  // namespace

const MessageMap* CCmdTarget::GetThisMessageMap() {
    static const MessageMapEntry entries[] = {{0, 0, 0, 0, nullptr}};
    static const MessageMap messageMap = {nullptr, entries};
    return &messageMap;
}

const MessageMap* CCmdTarget::GetMessageMap() const { return GetThisMessageMap(); }

const MessageMapEntry* CCmdTarget::FindMessageEntry(UINT message, UINT code, UINT id) const {
    for (const MessageMap* map = GetMessageMap(); map != nullptr;
         map = map->baseMap != nullptr ? map->baseMap() : nullptr) {
        for (const MessageMapEntry* entry = map->entries; entry->handler != nullptr; ++entry) {
            if (entry->message != message) continue;
            if (message != WM_COMMAND) return entry;
            if (entry->notifyCode == code && id >= entry->firstId && id <= entry->lastId) {
                return entry;
            }
        }
    }
    return nullptr;
}

IMPLEMENT_DYNAMIC(CWnd, CObject)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd() {
    openContexts_.clear();
    if (m_hWnd != nullptr && ::IsWindow(m_hWnd)) ::DestroyWindow(m_hWnd);
}

CWnd* CWnd::FromHandle(HWND hwnd) {
    const platform::WindowRecord* record = platform::FindWindowRecord(hwnd);
    return record != nullptr ? record->object : nullptr;
}

BOOL CWnd::Create(const wchar_t* className, const wchar_t* windowName, DWORD style,
                  const RECT& rect, CWnd* parent, UINT id, void* context) {
    return CreateEx(0, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                    rect.bottom - rect.top, parent != nullptr ? parent->m_hWnd : nullptr,
                    reinterpret_cast<HMENU>(static_cast<std::uintptr_t>(id)), context);
}

BOOL CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU idOrMenu, void* param) {
    if (m_hWnd != nullptr) return FALSE;
    platform::SetObjectForNextWindow(this);
    HWND created = ::CreateWindowEx(exStyle, className, windowName, style, x, y, width, height,
                                    parent, idOrMenu, nullptr, param);
    platform::SetObjectForNextWindow(nullptr);
    return created != nullptr;
}

BOOL CWnd::DestroyWindow() { return m_hWnd != nullptr ? ::DestroyWindow(m_hWnd) : FALSE; }

BOOL CWnd::PreTranslateMessage(MSG* /*message*/) { return FALSE; }

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const MSG current{m_hWnd, message, wParam, lParam, 0, {}};
    const MSG* outer = currentMessage;
    currentMessage = &current;
    LRESULT result = 0;
    if (!OnWndMsg(message, wParam, lParam, &result))
        result = DefWindowProc(message, wParam, lParam);
    currentMessage = outer;
    return result;
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (message == WM_COMMAND) {
        if (!OnCommand(wParam, lParam)) return FALSE;
        *result = 0;
        return TRUE;
    }
    const MessageMapEntry* entry = FindMessageEntry(message, 0, 0);
    if (entry == nullptr) return FALSE;
    *result = entry->handler(this, wParam, lParam);
    return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    // Menus send code 0 and accelerators code 1; both are commands.
    UINT code = HIWORD(wParam);
    if (code == 1 && lParam == 0) code = 0;
    const MessageMapEntry* entry = FindMessageEntry(WM_COMMAND, code, LOWORD(wParam));
    if (entry == nullptr) return FALSE;
    entry->handler(this, wParam, lParam);
    return TRUE;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    const platform::WindowRecord* record = platform::FindWindowRecord(m_hWnd);
    if (record == nullptr) return 0;
    return record->windowClass->procedure(m_hWnd, message, wParam, lParam);
}

void CWnd::PostNcDestroy() {}

LRESULT CWnd::Default() {
    if (currentMessage == nullptr) return 0;
    return DefWindowProc(currentMessage->message, currentMessage->wParam, currentMessage->lParam);
}

CWnd* CWnd::GetParent() const { return FromHandle(::GetParent(m_hWnd)); }
CWnd* CWnd::GetDlgItem(int id) const { return FromHandle(::GetDlgItem(m_hWnd, id)); }
int CWnd::GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
void CWnd::GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
void CWnd::GetWindowRect(RECT* rect) const { ::GetWindowRect(m_hWnd, rect); }

void CWnd::MoveWindow(int x, int y, int width, int height, BOOL repaint) {
    ::MoveWindow(m_hWnd, x, y, width, height, repaint);
}

void CWnd::MoveWindow(const RECT* rect, BOOL repaint) {
    if (rect == nullptr) return;
    ::MoveWindow(m_hWnd, rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                 repaint);
}

BOOL CWnd::SetWindowPos(const CWnd* insertAfter, int x, int y, int width, int height, UINT flags) {
    return ::SetWindowPos(m_hWnd, insertAfter != nullptr ? insertAfter->m_hWnd : nullptr, x, y,
                          width, height, flags);
}

BOOL CWnd::ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
BOOL CWnd::IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
BOOL CWnd::EnableWindow(BOOL enable) { return ::EnableWindow(m_hWnd, enable); }
BOOL CWnd::IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
DWORD CWnd::GetStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_STYLE)); }
DWORD CWnd::GetExStyle() const { return static_cast<DWORD>(::GetWindowLong(m_hWnd, GWL_EXSTYLE)); }

BOOL CWnd::ModifyStyle(DWORD remove, DWORD add, UINT flags) {
    const DWORD style = GetStyle();
    const DWORD changed = (style & ~remove) | add;
    if (changed == style) return FALSE;
    ::SetWindowLong(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
    if (flags != 0) {
        ::SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | flags);
    }
    return TRUE;
}

void CWnd::SetWindowText(const wchar_t* text) { ::SetWindowText(m_hWnd, text); }

std::wstring CWnd::GetWindowText() const {
    const int length = ::GetWindowTextLength(m_hWnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int copied = ::GetWindowText(m_hWnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(copied));
    return text;
}

void CWnd::ClientToScreen(POINT* point) const { ::ClientToScreen(m_hWnd, point); }
void CWnd::ScreenToClient(POINT* point) const { ::ScreenToClient(m_hWnd, point); }
void CWnd::Invalidate(BOOL erase) { ::InvalidateRect(m_hWnd, nullptr, erase); }
void CWnd::InvalidateRect(const RECT* rect, BOOL erase) { ::InvalidateRect(m_hWnd, rect, erase); }
void CWnd::ValidateRect(const RECT* rect) { ::ValidateRect(m_hWnd, rect); }
void CWnd::UpdateWindow() { ::UpdateWindow(m_hWnd); }

BOOL CWnd::RedrawWindow(const RECT* rect, void* region, UINT flags) {
    return ::RedrawWindow(m_hWnd, rect, region, flags);
}

CDC* CWnd::GetDC() {
    HDC hdc = ::GetDC(m_hWnd);
    if (hdc == nullptr) return nullptr;
    auto context = std::make_unique<CDC>();
    context->Attach(hdc);
    openContexts_.push_back(std::move(context));
    return openContexts_.back().get();
}

int CWnd::ReleaseDC(CDC* dc) {
    auto found = std::find_if(openContexts_.begin(), openContexts_.end(),
                              [dc](const std::unique_ptr<CDC>& open) { return open.get() == dc; });
    if (found == openContexts_.end()) return 0;
    const int released = ::ReleaseDC(m_hWnd, (*found)->Detach());
    openContexts_.erase(found);
    return released;
}

CWnd* CWnd::SetFocus() { return FromHandle(::SetFocus(m_hWnd)); }
CWnd* CWnd::GetFocus() { return FromHandle(::GetFocus()); }
CWnd* CWnd::SetCapture() { return FromHandle(::SetCapture(m_hWnd)); }
CWnd* CWnd::GetCapture() { return FromHandle(::GetCapture()); }

UINT_PTR CWnd::SetTimer(UINT_PTR id, UINT elapse, TIMERPROC procedure) {
    return ::SetTimer(m_hWnd, id, elapse, procedure);
}

BOOL CWnd::KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::SendMessage(m_hWnd, message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return ::PostMessage(m_hWnd, message, wParam, lParam);
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
    ::SendMessage(m_hWnd, WM_SETFONT,
                  reinterpret_cast<WPARAM>(font != nullptr ? font->GetSafeHandle() : nullptr),
                  redraw);
}

HICON CWnd::SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(::SendMessage(
        m_hWnd, WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL, reinterpret_cast<LPARAM>(icon)));
}

int CWnd::MessageBox(const wchar_t* text, const wchar_t* caption, UINT type) {
    return ::MessageBox(m_hWnd, text, caption, type);
}

int CWnd::OnCreate(LPCREATESTRUCT /*createStruct*/) { return static_cast<int>(Default()); }
void CWnd::OnDestroy() { Default(); }
void CWnd::OnClose() { Default(); }
void CWnd::OnPaint() { Default(); }
BOOL CWnd::OnEraseBkgnd(CDC* /*dc*/) { return static_cast<BOOL>(Default()); }
void CWnd::OnSize(UINT /*type*/, int /*width*/, int /*height*/) { Default(); }
void CWnd::OnActivate(UINT /*state*/, CWnd* /*other*/, BOOL /*minimized*/) { Default(); }
void CWnd::OnSetFocus(CWnd* /*oldWindow*/) { Default(); }
void CWnd::OnKillFocus(CWnd* /*newWindow*/) { Default(); }
void CWnd::OnLButtonDown(UINT /*flags*/, CPoint /*point*/) { Default(); }
void CWnd::OnLButtonUp(UINT /*flags*/, CPoint /*point*/) { Default(); }
void CWnd::OnMouseMove(UINT /*flags*/, CPoint /*point*/) { Default(); }
void CWnd::OnTimer(UINT_PTR /*id*/) { Default(); }
void CWnd::OnKeyDown(UINT /*key*/, UINT /*repeatCount*/, UINT /*flags*/) { Default(); }
void CWnd::OnKeyUp(UINT /*key*/, UINT /*repeatCount*/, UINT /*flags*/) { Default(); }
void CWnd::OnChar(UINT /*character*/, UINT /*repeatCount*/, UINT /*flags*/) { Default(); }
void CWnd::OnVScroll(UINT /*code*/, UINT /*position*/, CWnd* /*scrollBar*/) { Default(); }
void CWnd::OnHScroll(UINT /*code*/, UINT /*position*/, CWnd* /*scrollBar*/) { Default(); }

const wchar_t* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
    const std::wstring name = L"Afx:" + std::to_wstring(classStyle) + L":" +
                              std::to_wstring(reinterpret_cast<std::uintptr_t>(cursor)) + L":" +
                              std::to_wstring(reinterpret_cast<std::uintptr_t>(background)) + L":" +
                              std::to_wstring(reinterpret_cast<std::uintptr_t>(icon));
    if (const platform::WindowClass* existing = platform::FindWindowClass(name)) {
        return existing->name.c_str();
    }
    WNDCLASS windowClass{};
    windowClass.style = classStyle;
    windowClass.lpfnWndProc = ::DefWindowProc;
    windowClass.hCursor = cursor;
    windowClass.hbrBackground = background;
    windowClass.hIcon = icon;
    windowClass.lpszClassName = name.c_str();
    if (::RegisterClass(&windowClass) == 0) return nullptr;
    return platform::FindWindowClass(name)->name.c_str();
}

int CWnd::SetScrollInfo(int bar, SCROLLINFO* info, BOOL redraw) {
    return ::SetScrollInfo(m_hWnd, bar, info, redraw);
}

BOOL CWnd::GetScrollInfo(int bar, SCROLLINFO* info, UINT mask) const {
    if (info == nullptr) return FALSE;
    info->fMask = mask;
    return ::GetScrollInfo(m_hWnd, bar, info);
}

int CWnd::SetScrollPos(int bar, int position, BOOL redraw) {
    return ::SetScrollPos(m_hWnd, bar, position, redraw);
}

int CWnd::GetScrollPos(int bar) const { return ::GetScrollPos(m_hWnd, bar); }

#include "platform/windows/window_dc.h"

CPaintDC::CPaintDC(CWnd* window) : window_(window != nullptr ? window->m_hWnd : nullptr) {
    Attach(::BeginPaint(window_, &m_ps));
}

CPaintDC::~CPaintDC() {
    if (m_hDC != nullptr) {
        m_ps.hdc = Detach();
        ::EndPaint(window_, &m_ps);
    }
}

CClientDC::CClientDC(CWnd* window) : window_(window != nullptr ? window->m_hWnd : nullptr) {
    Attach(::GetDC(window_));
}

CClientDC::~CClientDC() {
    if (m_hDC != nullptr) ::ReleaseDC(window_, Detach());
}

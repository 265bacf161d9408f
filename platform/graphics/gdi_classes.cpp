#include "platform/graphics/gdi_classes.h"

BOOL CGdiObject::DeleteObject() {
    if (m_hObject == nullptr) return FALSE;
    const BOOL deleted = ::DeleteObject(m_hObject);
    m_hObject = nullptr;
    return deleted;
}

BOOL CGdiObject::Attach(HGDIOBJ object) {
    DeleteObject();
    m_hObject = object;
    return object != nullptr;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ object = m_hObject;
    m_hObject = nullptr;
    return object;
}

BOOL CBrush::CreateSolidBrush(COLORREF color) { return Attach(::CreateSolidBrush(color)); }

BOOL CPen::CreatePen(int style, int width, COLORREF color) {
    return Attach(::CreatePen(style, width, color));
}

BOOL CFont::CreateFontIndirect(const LOGFONT* logFont) {
    return Attach(::CreateFontIndirect(logFont));
}

int CFont::GetLogFont(LOGFONT* logFont) const {
    return ::GetObject(m_hObject, sizeof(LOGFONT), logFont);
}

BOOL CBitmap::CreateCompatibleBitmap(HDC hdc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(hdc, width, height));
}

CDC::~CDC() {
    if (ownsContext_) DeleteDC();
}

BOOL CDC::Attach(HDC hdc) {
    if (ownsContext_) DeleteDC();
    m_hDC = hdc;
    ownsContext_ = false;
    return hdc != nullptr;
}

HDC CDC::Detach() {
    HDC hdc = m_hDC;
    m_hDC = nullptr;
    ownsContext_ = false;
    return hdc;
}

BOOL CDC::CreateCompatibleDC(CDC* other) {
    if (ownsContext_) DeleteDC();
    m_hDC = ::CreateCompatibleDC(other != nullptr ? other->m_hDC : nullptr);
    ownsContext_ = m_hDC != nullptr;
    return m_hDC != nullptr;
}

BOOL CDC::DeleteDC() {
    if (m_hDC == nullptr) return FALSE;
    const BOOL deleted = ::DeleteDC(m_hDC);
    m_hDC = nullptr;
    ownsContext_ = false;
    return deleted;
}

HBITMAP CDC::SelectObject(CBitmap* bitmap) {
    return static_cast<HBITMAP>(
        ::SelectObject(m_hDC, bitmap != nullptr ? bitmap->m_hObject : nullptr));
}
HFONT CDC::SelectObject(CFont* font) {
    return static_cast<HFONT>(::SelectObject(m_hDC, font != nullptr ? font->m_hObject : nullptr));
}
HPEN CDC::SelectObject(CPen* pen) {
    return static_cast<HPEN>(::SelectObject(m_hDC, pen != nullptr ? pen->m_hObject : nullptr));
}
HBRUSH CDC::SelectObject(CBrush* brush) {
    return static_cast<HBRUSH>(
        ::SelectObject(m_hDC, brush != nullptr ? brush->m_hObject : nullptr));
}
HGDIOBJ CDC::SelectObject(HGDIOBJ object) { return ::SelectObject(m_hDC, object); }
HGDIOBJ CDC::GetCurrentObject(UINT objectType) const {
    return ::GetCurrentObject(m_hDC, objectType);
}

COLORREF CDC::SetTextColor(COLORREF color) { return ::SetTextColor(m_hDC, color); }
COLORREF CDC::SetBkColor(COLORREF color) { return ::SetBkColor(m_hDC, color); }
int CDC::SetBkMode(int mode) { return ::SetBkMode(m_hDC, mode); }

void CDC::FillRect(const RECT* rect, CBrush* brush) {
    ::FillRect(m_hDC, rect, brush != nullptr ? static_cast<HBRUSH>(*brush) : nullptr);
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color) {
    CBrush brush(color);
    ::FillRect(m_hDC, rect, brush);
}

CPoint CDC::MoveTo(int x, int y) {
    POINT previous{};
    ::MoveToEx(m_hDC, x, y, &previous);
    return previous;
}

BOOL CDC::LineTo(int x, int y) { return ::LineTo(m_hDC, x, y); }

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                 DWORD rasterOperation) {
    return ::BitBlt(m_hDC, x, y, width, height, source != nullptr ? source->m_hDC : nullptr,
                    sourceX, sourceY, rasterOperation);
}

int CDC::DrawText(const wchar_t* text, int length, RECT* rect, UINT format) {
    return ::DrawText(m_hDC, text, length, rect, format);
}

int CDC::DrawText(const std::wstring& text, RECT* rect, UINT format) {
    return ::DrawText(m_hDC, text.c_str(), static_cast<int>(text.size()), rect, format);
}

CSize CDC::GetTextExtent(const std::wstring& text) const {
    SIZE size{};
    ::GetTextExtentPoint32(m_hDC, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
}

BOOL CDC::GetTextMetrics(TEXTMETRIC* metrics) const { return ::GetTextMetrics(m_hDC, metrics); }

BOOL CDC::DrawIcon(int x, int y, HICON icon, int width, int height) {
    return ::DrawIconEx(m_hDC, x, y, icon, width, height, 0, nullptr, DI_NORMAL);
}

COLORREF CDC::GetPixel(int x, int y) const { return ::GetPixel(m_hDC, x, y); }

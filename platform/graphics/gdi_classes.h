// The framework's drawing classes: device context (CDC) and the graphics objects (CBrush, CPen,
// CFont, CBitmap). Each object deletes what it created when it goes out of scope.
#pragma once

#include <string>

#include "platform/graphics/gdi.h"

class CGdiObject {
  public:
    CGdiObject() = default;
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;
    virtual ~CGdiObject() { DeleteObject(); }

    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    operator HGDIOBJ() const { return m_hObject; }  // NOLINT(google-explicit-constructor)
    BOOL DeleteObject();
    // Takes over a handle (the object then deletes it).
    BOOL Attach(HGDIOBJ object);
    HGDIOBJ Detach();

    HGDIOBJ m_hObject = nullptr;
};

class CBrush : public CGdiObject {
  public:
    CBrush() = default;
    explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
    BOOL CreateSolidBrush(COLORREF color);
    operator HBRUSH() const { return static_cast<HBRUSH>(m_hObject); }  // NOLINT
};

class CPen : public CGdiObject {
  public:
    CPen() = default;
    CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
    BOOL CreatePen(int style, int width, COLORREF color);
    operator HPEN() const { return static_cast<HPEN>(m_hObject); }  // NOLINT
};

class CFont : public CGdiObject {
  public:
    BOOL CreateFontIndirect(const LOGFONT* logFont);
    int GetLogFont(LOGFONT* logFont) const;
    operator HFONT() const { return static_cast<HFONT>(m_hObject); }  // NOLINT
};

class CBitmap : public CGdiObject {
  public:
    BOOL CreateCompatibleBitmap(HDC hdc, int width, int height);
    operator HBITMAP() const { return static_cast<HBITMAP>(m_hObject); }  // NOLINT
};

class CDC {
  public:
    CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    // Deletes a context made by CreateCompatibleDC; an attached one is left to its owner.
    virtual ~CDC();

    HDC GetSafeHdc() const { return m_hDC; }
    operator HDC() const { return m_hDC; }  // NOLINT(google-explicit-constructor)
    BOOL Attach(HDC hdc);
    HDC Detach();

    BOOL CreateCompatibleDC(CDC* other);
    BOOL DeleteDC();

    // Selecting returns the handle that was selected before, to be selected again afterwards.
    HBITMAP SelectObject(CBitmap* bitmap);
    HFONT SelectObject(CFont* font);
    HPEN SelectObject(CPen* pen);
    HBRUSH SelectObject(CBrush* brush);
    HGDIOBJ SelectObject(HGDIOBJ object);
    HGDIOBJ GetCurrentObject(UINT objectType) const;

    COLORREF SetTextColor(COLORREF color);
    COLORREF SetBkColor(COLORREF color);
    int SetBkMode(int mode);

    void FillRect(const RECT* rect, CBrush* brush);
    void FillSolidRect(const RECT* rect, COLORREF color);
    CPoint MoveTo(int x, int y);
    BOOL LineTo(int x, int y);
    BOOL BitBlt(int x, int y, int width, int height, CDC* source, int sourceX, int sourceY,
                DWORD rasterOperation);
    int DrawText(const wchar_t* text, int length, RECT* rect, UINT format);
    int DrawText(const std::wstring& text, RECT* rect, UINT format);
    CSize GetTextExtent(const std::wstring& text) const;
    BOOL GetTextMetrics(TEXTMETRIC* metrics) const;
    BOOL DrawIcon(int x, int y, HICON icon, int width, int height);
    COLORREF GetPixel(int x, int y) const;

    HDC m_hDC = nullptr;

  protected:
    bool ownsContext_ = false;
};

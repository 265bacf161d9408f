// The platform's drawing interface: device contexts, brushes, pens, fonts, bitmaps, text and
// icons, with the constants and records the programs pass to it.
#pragma once

#include <memory>

#include "platform/base/rect.h"
#include "platform/base/win_types.h"

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// Raster operation.
constexpr DWORD SRCCOPY = 0x00CC0020;

// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;

// Pen styles: thin dashed pens draw 4 pixels on, 2 off; wide ones draw solid.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_NULL = 5;

// Object types for GetCurrentObject.
constexpr UINT OBJ_PEN = 1;
constexpr UINT OBJ_BRUSH = 2;
constexpr UINT OBJ_FONT = 6;
constexpr UINT OBJ_BITMAP = 7;

// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;

// DrawText formats.
constexpr UINT DT_TOP = 0x0000;
constexpr UINT DT_LEFT = 0x0000;
constexpr UINT DT_CENTER = 0x0001;
constexpr UINT DT_RIGHT = 0x0002;
constexpr UINT DT_VCENTER = 0x0004;
constexpr UINT DT_BOTTOM = 0x0008;
constexpr UINT DT_WORDBREAK = 0x0010;
constexpr UINT DT_SINGLELINE = 0x0020;
constexpr UINT DT_EXPANDTABS = 0x0040;
constexpr UINT DT_NOCLIP = 0x0100;
constexpr UINT DT_CALCRECT = 0x0400;
constexpr UINT DT_NOPREFIX = 0x0800;
constexpr UINT DT_EDITCONTROL = 0x2000;
constexpr UINT DT_END_ELLIPSIS = 0x8000;

// DrawIconEx flags.
constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;

// Font weights and the face-name length of a LOGFONT (with its terminator).
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr int LF_FACESIZE = 32;

struct LOGFONT {
    LONG lfHeight = 0;  // > 0: cell height, < 0: character height, 0: the default height
    LONG lfWidth = 0;
    LONG lfEscapement = 0;
    LONG lfOrientation = 0;
    LONG lfWeight = FW_NORMAL;
    BYTE lfItalic = 0;
    BYTE lfUnderline = 0;
    BYTE lfStrikeOut = 0;
    BYTE lfCharSet = 0;
    BYTE lfOutPrecision = 0;
    BYTE lfClipPrecision = 0;
    BYTE lfQuality = 0;
    BYTE lfPitchAndFamily = 0;
    wchar_t lfFaceName[LF_FACESIZE] = {};  // empty: the platform's default face
};
using LOGFONTW = LOGFONT;

struct TEXTMETRIC {
    LONG tmHeight = 0;  // ascent + descent
    LONG tmAscent = 0;
    LONG tmDescent = 0;
    LONG tmInternalLeading = 0;
    LONG tmExternalLeading = 0;
    LONG tmAveCharWidth = 0;
    LONG tmMaxCharWidth = 0;
    LONG tmWeight = 0;
    BYTE tmItalic = 0;
};

// Font enumeration: the callback gets each family's LOGFONT and returns nonzero to go on.
constexpr DWORD RASTER_FONTTYPE = 0x0001;
constexpr DWORD TRUETYPE_FONTTYPE = 0x0004;
using FONTENUMPROC = int (*)(const LOGFONT* logFont, const TEXTMETRIC* metrics, DWORD fontType,
                             LPARAM data);

// Device contexts.
HDC CreateCompatibleDC(HDC hdc);  // hdc may be null: compatible with the screen
BOOL DeleteDC(HDC hdc);
HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object);
HGDIOBJ GetCurrentObject(HDC hdc, UINT objectType);
COLORREF SetTextColor(HDC hdc, COLORREF color);
COLORREF GetTextColor(HDC hdc);
COLORREF SetBkColor(HDC hdc, COLORREF color);
COLORREF GetBkColor(HDC hdc);
int SetBkMode(HDC hdc, int mode);
int GetBkMode(HDC hdc);

// Objects. Creation fails (null) for impossible requests; DeleteObject of an object that is still
// selected into a context is carried out when the context lets go of it.
HBRUSH CreateSolidBrush(COLORREF color);
HPEN CreatePen(int style, int width, COLORREF color);
HFONT CreateFontIndirect(const LOGFONT* logFont);
inline HFONT CreateFontIndirectW(const LOGFONT* logFont) { return CreateFontIndirect(logFont); }
HBITMAP CreateCompatibleBitmap(HDC hdc, int width, int height);
HGDIOBJ GetStockObject(int index);
BOOL DeleteObject(HGDIOBJ object);
// Copies the object's description (a LOGFONT for fonts); returns the bytes copied, 0 on failure.
int GetObject(HGDIOBJ object, int size, void* buffer);
inline int GetObjectW(HGDIOBJ object, int size, void* buffer) {
    return GetObject(object, size, buffer);
}

// Drawing.
int FillRect(HDC hdc, const RECT* rect, HBRUSH brush);
BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous);
BOOL LineTo(HDC hdc, int x, int y);  // the end point itself is not drawn
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rasterOperation);
COLORREF GetPixel(HDC hdc, int x, int y);
COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color);

// Text.
int DrawText(HDC hdc, const wchar_t* text, int length, RECT* rect, UINT format);
inline int DrawTextW(HDC hdc, const wchar_t* text, int length, RECT* rect, UINT format) {
    return DrawText(hdc, text, length, rect, format);
}
BOOL GetTextExtentPoint32(HDC hdc, const wchar_t* text, int length, SIZE* size);
BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* metrics);
// With no family name (null or empty): one call per installed family, each once, sorted by name
// without regard to case. With a name (any case; a full name or the face name an enumeration gave):
// one call for that family when it is installed. The callback's 0 stops the enumeration. Returns
// the callback's last answer (1 when it was never called, 0 without a callback).
int EnumFontFamilies(HDC hdc, const wchar_t* family, FONTENUMPROC callback, LPARAM data);
inline int EnumFontFamiliesW(HDC hdc, const wchar_t* family, FONTENUMPROC callback, LPARAM data) {
    return EnumFontFamilies(hdc, family, callback, data);
}

// Icons.
BOOL DrawIconEx(HDC hdc, int x, int y, HICON icon, int width, int height, UINT step,
                HBRUSH flickerFreeBrush, UINT flags);
BOOL DestroyIcon(HICON icon);
// An icon from straight (not premultiplied) RGBA pixels, 0xAARRGGBB, row by row.
HICON CreateIconFromPixels(int width, int height, const std::uint32_t* argb);

// Owns an icon handle and destroys it with the owner.
struct IconDestroyer {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using UniqueIcon = std::unique_ptr<platform::IconObject, IconDestroyer>;

// The objects behind graphics handles (brushes, pens, fonts, bitmaps) and the table that owns them.
// Handles are validated against the table, so a stale or foreign handle fails instead of crashing.
#pragma once

#include <memory>

#include "platform/graphics/gdi.h"
#include "platform/graphics/surface.h"

namespace platform {

class FontFace;

enum class GdiKind { Brush, Pen, Font, Bitmap };

struct GdiObject {
    explicit GdiObject(GdiKind objectKind) : kind(objectKind) {}
    virtual ~GdiObject() = default;
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;

    const GdiKind kind;
    bool stock = false;          // never deleted
    int selections = 0;          // contexts that have it selected
    bool deletePending = false;  // DeleteObject came while it was selected
};

struct BrushObject : GdiObject {
    explicit BrushObject(COLORREF brushColor) : GdiObject(GdiKind::Brush), color(brushColor) {}
    COLORREF color;       // may carry the system-colour flag
    bool hollow = false;  // NULL_BRUSH
};

struct PenObject : GdiObject {
    PenObject(int penStyle, int penWidth, COLORREF penColor)
        : GdiObject(GdiKind::Pen), style(penStyle), width(penWidth), color(penColor) {}
    int style;
    int width;
    COLORREF color;
};

struct FontObject : GdiObject {
    FontObject(const LOGFONT& description, std::shared_ptr<FontFace> fontFace)
        : GdiObject(GdiKind::Font), logFont(description), face(std::move(fontFace)) {}
    LOGFONT logFont;                 // as given (the height 0 stays 0)
    std::shared_ptr<FontFace> face;  // resolved face at its pixel size, shared through a cache
};

struct BitmapObject : GdiObject {
    explicit BitmapObject(Surface pixels)
        : GdiObject(GdiKind::Bitmap), surface(std::move(pixels)) {}
    Surface surface;
};

// Takes ownership of a new object and returns its handle.
HGDIOBJ AdoptGdiObject(std::unique_ptr<GdiObject> object);
// The object behind a handle, or null when the handle is not a live object of that kind.
GdiObject* FindGdiObject(HGDIOBJ handle);
template <typename Object>
Object* FindGdiObjectOf(HGDIOBJ handle, GdiKind kind) {
    GdiObject* object = FindGdiObject(handle);
    return object != nullptr && object->kind == kind ? static_cast<Object*>(object) : nullptr;
}
// Makes an object permanent (a stock object of the platform).
void MarkStock(HGDIOBJ handle);
// Called when a context stops selecting an object: carries out a pending deletion.
void ReleaseSelection(GdiObject* object);
// Number of live non-stock objects; tests use it to find leaks.
int LiveGdiObjectCount();

// The font that a fresh device context selects: the system's default face, normal weight, at the
// display's default height.
HFONT DefaultFont();

}  // namespace platform

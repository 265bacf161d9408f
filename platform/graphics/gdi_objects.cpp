#include "platform/graphics/gdi_objects.h"

#include <cstring>
#include <unordered_map>

#include "platform/graphics/system_colors.h"

namespace platform {
namespace {

struct ObjectTable {
    std::unordered_map<HGDIOBJ, std::unique_ptr<GdiObject>> objects;
    int stockCount = 0;
};

ObjectTable& Table() {
    static ObjectTable table;
    return table;
}

}  // namespace

HGDIOBJ AdoptGdiObject(std::unique_ptr<GdiObject> object) {
    if (!object) return nullptr;
    // The handle is the address of the whole object, so that a typed handle cast from it
    // (HBRUSH from HGDIOBJ) points at the same object.
    HGDIOBJ handle = dynamic_cast<void*>(object.get());
    if (object->stock) ++Table().stockCount;
    Table().objects.emplace(handle, std::move(object));
    return handle;
}

GdiObject* FindGdiObject(HGDIOBJ handle) {
    if (handle == nullptr) return nullptr;
    auto found = Table().objects.find(handle);
    return found == Table().objects.end() ? nullptr : found->second.get();
}

void MarkStock(HGDIOBJ handle) {
    GdiObject* object = FindGdiObject(handle);
    if (object == nullptr || object->stock) return;
    object->stock = true;
    ++Table().stockCount;
}

void ReleaseSelection(GdiObject* object) {
    if (object == nullptr) return;
    if (object->selections > 0) --object->selections;
    if (object->selections == 0 && object->deletePending) {
        Table().objects.erase(dynamic_cast<void*>(object));
    }
}

int LiveGdiObjectCount() { return static_cast<int>(Table().objects.size()) - Table().stockCount; }

}  // namespace platform

using platform::AdoptGdiObject;
using platform::BrushObject;
using platform::GdiKind;
using platform::PenObject;

HBRUSH CreateSolidBrush(COLORREF color) {
    return static_cast<HBRUSH>(AdoptGdiObject(std::make_unique<BrushObject>(color)));
}

HPEN CreatePen(int style, int width, COLORREF color) {
    if (width < 0) width = 0;
    return static_cast<HPEN>(AdoptGdiObject(std::make_unique<PenObject>(style, width, color)));
}

HBITMAP CreateCompatibleBitmap(HDC /*hdc*/, int width, int height) {
    std::optional<platform::Surface> surface = platform::Surface::Create(width, height);
    if (!surface) return nullptr;
    return static_cast<HBITMAP>(
        AdoptGdiObject(std::make_unique<platform::BitmapObject>(std::move(*surface))));
}

HGDIOBJ GetStockObject(int index) {
    struct StockObjects {
        HGDIOBJ whiteBrush, blackBrush, nullBrush, whitePen, blackPen, nullPen;
    };
    static const StockObjects stock = [] {
        auto make = [](std::unique_ptr<platform::GdiObject> object) -> HGDIOBJ {
            object->stock = true;
            return AdoptGdiObject(std::move(object));
        };
        auto hollow = std::make_unique<BrushObject>(RGB(0, 0, 0));
        hollow->hollow = true;
        return StockObjects{make(std::make_unique<BrushObject>(RGB(255, 255, 255))),
                            make(std::make_unique<BrushObject>(RGB(0, 0, 0))),
                            make(std::move(hollow)),
                            make(std::make_unique<PenObject>(PS_SOLID, 1, RGB(255, 255, 255))),
                            make(std::make_unique<PenObject>(PS_SOLID, 1, RGB(0, 0, 0))),
                            make(std::make_unique<PenObject>(PS_NULL, 1, RGB(0, 0, 0)))};
    }();
    switch (index) {
        case WHITE_BRUSH:
            return stock.whiteBrush;
        case BLACK_BRUSH:
            return stock.blackBrush;
        case NULL_BRUSH:
            return stock.nullBrush;
        case WHITE_PEN:
            return stock.whitePen;
        case BLACK_PEN:
            return stock.blackPen;
        case NULL_PEN:
            return stock.nullPen;
        case SYSTEM_FONT:
        case DEFAULT_GUI_FONT:
            return platform::DefaultFont();
        default:
            return nullptr;
    }
}

BOOL DeleteObject(HGDIOBJ object) {
    platform::GdiObject* found = platform::FindGdiObject(object);
    if (found == nullptr || found->stock) return FALSE;
    if (found->selections > 0) {
        found->deletePending = true;
        return TRUE;
    }
    found->deletePending = true;
    platform::ReleaseSelection(found);
    return TRUE;
}

int GetObject(HGDIOBJ object, int size, void* buffer) {
    auto* font = platform::FindGdiObjectOf<platform::FontObject>(object, GdiKind::Font);
    if (font == nullptr || buffer == nullptr || size < static_cast<int>(sizeof(LOGFONT))) return 0;
    std::memcpy(buffer, &font->logFont, sizeof(LOGFONT));
    return static_cast<int>(sizeof(LOGFONT));
}

#include "platform/graphics/device_context.h"

#include <unordered_map>

namespace platform {
namespace {

std::unordered_map<HDC, std::unique_ptr<DeviceContext>>& Contexts() {
    static std::unordered_map<HDC, std::unique_ptr<DeviceContext>> contexts;
    return contexts;
}

// The bitmap a fresh memory context selects: one pixel, as on the original platform.
HBITMAP StockBitmap() {
    static HBITMAP bitmap = [] {
        HBITMAP created = CreateCompatibleBitmap(nullptr, 1, 1);
        MarkStock(created);
        return created;
    }();
    return bitmap;
}

}  // namespace

DeviceContext::DeviceContext(Surface* target, POINT origin, const RECT& clip, HWND window)
    : textColor(RGB(0, 0, 0)),
      backgroundColor(RGB(255, 255, 255)),
      memory_(false),
      window_(window),
      target_(target),
      origin_(origin) {
    RECT bounds = target != nullptr ? target->Bounds() : RECT{};
    IntersectRect(&clip_, &clip, &bounds);
    Select(GetStockObject(WHITE_BRUSH));
    Select(GetStockObject(BLACK_PEN));
    Select(DefaultFont());
}

DeviceContext::DeviceContext()
    : textColor(RGB(0, 0, 0)), backgroundColor(RGB(255, 255, 255)), memory_(true) {
    Select(GetStockObject(WHITE_BRUSH));
    Select(GetStockObject(BLACK_PEN));
    Select(DefaultFont());
    Select(StockBitmap());
}

DeviceContext::~DeviceContext() {
    ReleaseSelection(FindGdiObject(brush_));
    ReleaseSelection(FindGdiObject(pen_));
    ReleaseSelection(FindGdiObject(font_));
    ReleaseSelection(FindGdiObject(bitmap_));
}

RECT DeviceContext::ToDevice(const RECT& rect) const {
    return RECT{rect.left + origin_.x, rect.top + origin_.y, rect.right + origin_.x,
                rect.bottom + origin_.y};
}

void DeviceContext::LimitClip(const RECT& deviceRect) {
    IntersectRect(&clip_, &clip_, &deviceRect);
}

HGDIOBJ DeviceContext::Select(HGDIOBJ object) {
    GdiObject* found = FindGdiObject(object);
    if (found == nullptr || found->deletePending) return nullptr;
    auto swap = [found](auto& slot) -> HGDIOBJ {
        using Handle = std::remove_reference_t<decltype(slot)>;
        HGDIOBJ previous = slot;
        if (previous == found) return previous;
        ++found->selections;
        slot = static_cast<Handle>(found);
        ReleaseSelection(FindGdiObject(previous));
        return previous;
    };
    switch (found->kind) {
        case GdiKind::Brush:
            return swap(brush_);
        case GdiKind::Pen:
            return swap(pen_);
        case GdiKind::Font:
            return swap(font_);
        case GdiKind::Bitmap: {
            if (!memory_) return nullptr;
            // A bitmap can be selected into one memory context at a time.
            if (found != bitmap_ && found->selections > 0 && !found->stock) return nullptr;
            HGDIOBJ previous = swap(bitmap_);
            target_ = &bitmap_->surface;
            clip_ = target_->Bounds();
            return previous;
        }
    }
    return nullptr;
}

DeviceContext* FindDeviceContext(HDC handle) {
    if (handle == nullptr) return nullptr;
    auto found = Contexts().find(handle);
    return found == Contexts().end() ? nullptr : found->second.get();
}

HDC AdoptDeviceContext(std::unique_ptr<DeviceContext> context) {
    HDC handle = context.get();
    Contexts().emplace(handle, std::move(context));
    return handle;
}

bool DestroyDeviceContext(HDC handle) { return Contexts().erase(handle) > 0; }

}  // namespace platform

HDC CreateCompatibleDC(HDC /*hdc*/) {
    return platform::AdoptDeviceContext(std::make_unique<platform::DeviceContext>());
}

BOOL DeleteDC(HDC hdc) {
    platform::DeviceContext* context = platform::FindDeviceContext(hdc);
    if (context == nullptr || !context->IsMemory()) return FALSE;
    return platform::DestroyDeviceContext(hdc) ? TRUE : FALSE;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ object) {
    platform::DeviceContext* context = platform::FindDeviceContext(hdc);
    return context != nullptr ? context->Select(object) : nullptr;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT objectType) {
    platform::DeviceContext* context = platform::FindDeviceContext(hdc);
    if (context == nullptr) return nullptr;
    switch (objectType) {
        case OBJ_PEN:
            return context->Pen();
        case OBJ_BRUSH:
            return context->Brush();
        case OBJ_FONT:
            return context->Font();
        case OBJ_BITMAP:
            return context->Bitmap();
        default:
            return nullptr;
    }
}

namespace {

// Replaces one of a context's settings and returns the old value (`failed` for a bad handle).
template <typename Value>
Value ExchangeSetting(HDC hdc, Value platform::DeviceContext::*setting, Value value, Value failed) {
    platform::DeviceContext* context = platform::FindDeviceContext(hdc);
    if (context == nullptr) return failed;
    const Value previous = context->*setting;
    context->*setting = value;
    return previous;
}

template <typename Value>
Value ReadSetting(HDC hdc, Value platform::DeviceContext::*setting, Value failed) {
    platform::DeviceContext* context = platform::FindDeviceContext(hdc);
    return context != nullptr ? context->*setting : failed;
}

}  // namespace

COLORREF SetTextColor(HDC hdc, COLORREF color) {
    return ExchangeSetting(hdc, &platform::DeviceContext::textColor, color, CLR_INVALID);
}

COLORREF GetTextColor(HDC hdc) {
    return ReadSetting(hdc, &platform::DeviceContext::textColor, CLR_INVALID);
}

COLORREF SetBkColor(HDC hdc, COLORREF color) {
    return ExchangeSetting(hdc, &platform::DeviceContext::backgroundColor, color, CLR_INVALID);
}

COLORREF GetBkColor(HDC hdc) {
    return ReadSetting(hdc, &platform::DeviceContext::backgroundColor, CLR_INVALID);
}

int SetBkMode(HDC hdc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) return 0;
    return ExchangeSetting(hdc, &platform::DeviceContext::backgroundMode, mode, 0);
}

int GetBkMode(HDC hdc) { return ReadSetting(hdc, &platform::DeviceContext::backgroundMode, 0); }

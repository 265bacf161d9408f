// Filling, lines, pixels and block copies on device contexts.
#include <cstdlib>

#include "platform/graphics/device_context.h"
#include "platform/graphics/system_colors.h"

using platform::DeviceContext;
using platform::FindDeviceContext;
using platform::PixelFromColor;
using platform::ResolveColor;

namespace {

// A dashed pen's pattern, in pixels along the line.
constexpr int kDashLength = 4;
constexpr int kDashGap = 2;

void FillDeviceRect(DeviceContext& context, const RECT& deviceRect, platform::Pixel pixel) {
    RECT area{};
    if (!IntersectRect(&area, &deviceRect, &context.DeviceClip())) return;
    context.Target()->Fill(area, pixel);
}

}  // namespace

int FillRect(HDC hdc, const RECT* rect, HBRUSH brush) {
    DeviceContext* context = FindDeviceContext(hdc);
    auto* brushObject =
        platform::FindGdiObjectOf<platform::BrushObject>(brush, platform::GdiKind::Brush);
    if (context == nullptr || rect == nullptr || brushObject == nullptr) return 0;
    if (brushObject->hollow || context->Target() == nullptr) return 1;
    FillDeviceRect(*context, context->ToDevice(*rect),
                   PixelFromColor(ResolveColor(brushObject->color)));
    return 1;
}

BOOL MoveToEx(HDC hdc, int x, int y, POINT* previous) {
    DeviceContext* context = FindDeviceContext(hdc);
    if (context == nullptr) return FALSE;
    if (previous != nullptr) *previous = context->position;
    context->position = POINT{x, y};
    return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
    DeviceContext* context = FindDeviceContext(hdc);
    if (context == nullptr) return FALSE;
    const POINT start = context->position;
    context->position = POINT{x, y};
    auto* pen =
        platform::FindGdiObjectOf<platform::PenObject>(context->Pen(), platform::GdiKind::Pen);
    if (pen == nullptr || pen->style == PS_NULL || context->Target() == nullptr) return TRUE;

    const platform::Pixel pixel = PixelFromColor(ResolveColor(pen->color));
    const int thickness = pen->width > 1 ? pen->width : 1;
    const POINT from = context->ToDevice(start.x, start.y);
    const POINT to = context->ToDevice(x, y);
    // Dashes are drawn for thin pens only, as wide pens draw solid on the platform too. Each line
    // starts with a dash, so the corners of a frame are always marked.
    const bool dashed = pen->style == PS_DASH && thickness == 1;
    if (thickness == 1 && !dashed && (from.x == to.x || from.y == to.y)) {
        // Straight lines are one rectangle: [from, to) in the direction of travel.
        RECT line{};
        if (from.y == to.y) {
            line = from.x <= to.x ? RECT{from.x, from.y, to.x, from.y + 1}
                                  : RECT{to.x + 1, from.y, from.x + 1, from.y + 1};
        } else {
            line = from.y <= to.y ? RECT{from.x, from.y, from.x + 1, to.y}
                                  : RECT{from.x, to.y + 1, from.x + 1, from.y + 1};
        }
        FillDeviceRect(*context, line, pixel);
        return TRUE;
    }
    // Bresenham, stopping before the end point as the platform's lines do.
    const int dx = std::abs(to.x - from.x);
    const int dy = -std::abs(to.y - from.y);
    const int stepX = from.x < to.x ? 1 : -1;
    const int stepY = from.y < to.y ? 1 : -1;
    int error = dx + dy;
    int px = from.x;
    int py = from.y;
    for (int step = 0; px != to.x || py != to.y; ++step) {
        const int half = (thickness - 1) / 2;
        if (!dashed || step % (kDashLength + kDashGap) < kDashLength) {
            FillDeviceRect(*context,
                           RECT{px - half, py - half, px - half + thickness, py - half + thickness},
                           pixel);
        }
        const int doubled = 2 * error;
        if (doubled >= dy) {
            error += dy;
            px += stepX;
        }
        if (doubled <= dx) {
            error += dx;
            py += stepY;
        }
    }
    return TRUE;
}

BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rasterOperation) {
    DeviceContext* target = FindDeviceContext(destination);
    DeviceContext* origin = FindDeviceContext(source);
    if (target == nullptr || origin == nullptr || rasterOperation != SRCCOPY) return FALSE;
    if (target->Target() == nullptr || origin->Target() == nullptr) return FALSE;
    const POINT to = target->ToDevice(x, y);
    const POINT from = origin->ToDevice(sourceX, sourceY);
    target->Target()->CopyFrom(*origin->Target(), from.x, from.y, to.x, to.y, width, height,
                               target->DeviceClip());
    return TRUE;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
    DeviceContext* context = FindDeviceContext(hdc);
    if (context == nullptr || context->Target() == nullptr) return CLR_INVALID;
    const POINT at = context->ToDevice(x, y);
    if (!PtInRect(&context->DeviceClip(), at)) return CLR_INVALID;
    return platform::ColorFromPixel(context->Target()->At(at.x, at.y));
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF color) {
    DeviceContext* context = FindDeviceContext(hdc);
    if (context == nullptr || context->Target() == nullptr) return CLR_INVALID;
    const POINT at = context->ToDevice(x, y);
    if (!PtInRect(&context->DeviceClip(), at)) return CLR_INVALID;
    const COLORREF resolved = ResolveColor(color);
    context->Target()->Row(at.y)[at.x] = PixelFromColor(resolved);
    return resolved;
}

// Invalidation and WM_PAINT, device contexts on windows, window frames, and handing changed
// surfaces to the backend.
#include "platform/windows/painting.h"

#include <algorithm>

#include "platform/graphics/device_context.h"
#include "platform/graphics/system_colors.h"
#include "platform/windows/backend.h"
#include "platform/windows/caption_drawing.h"
#include "platform/windows/focus_state.h"
#include "platform/windows/message_queue.h"
#include "platform/windows/scroll_bar_drawing.h"

namespace platform {
namespace {

RECT WindowAreaInSurface(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return RECT{};
    const POINT origin = WindowOriginInSurface(hwnd);
    RECT area{origin.x, origin.y, origin.x + record->rect.right - record->rect.left,
              origin.y + record->rect.bottom - record->rect.top};
    if (record->parent != nullptr) {
        // A child's frame is clipped by its parent's visible client area.
        const RECT parentVisible = VisibleClientInSurface(record->parent);
        IntersectRect(&area, &area, &parentVisible);
    }
    return area;
}

// A context on the client area of a window; nothing is drawn for hidden windows.
std::unique_ptr<DeviceContext> ClientContext(HWND hwnd) {
    const WindowRecord* topLevel = FindWindowRecord(TopLevelOf(hwnd));
    const WindowRecord* record = FindWindowRecord(hwnd);
    Surface* surface = topLevel != nullptr ? topLevel->surface.get() : nullptr;
    if (record == nullptr) return nullptr;
    const POINT windowOrigin = WindowOriginInSurface(hwnd);
    const RECT client = ClientAreaInWindow(*record);
    const POINT origin{windowOrigin.x + client.left, windowOrigin.y + client.top};
    const RECT clip = IsShown(hwnd) ? VisibleClientInSurface(hwnd) : RECT{};
    return std::make_unique<DeviceContext>(surface, origin, clip, hwnd);
}

void FillFrameRect(HDC context, const RECT& rect, int colorIndex) {
    HBRUSH brush = CreateSolidBrush(GetSysColor(colorIndex));
    FillRect(context, &rect, brush);
    DeleteObject(brush);
}

// Borders, client edge and caption, drawn by the window system itself.
void PaintFrame(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    const WindowRecord* topLevel = FindWindowRecord(TopLevelOf(hwnd));
    if (record == nullptr || topLevel == nullptr || !topLevel->surface) return;
    const RECT client = ClientAreaInWindow(*record);
    const int width = record->rect.right - record->rect.left;
    const int height = record->rect.bottom - record->rect.top;
    if (client.left == 0 && client.top == 0 && client.right == width && client.bottom == height) {
        return;  // no frame at all
    }
    const POINT origin = WindowOriginInSurface(hwnd);
    // Registered like any other context: the drawing functions only draw into known ones.
    HDC context = AdoptDeviceContext(std::make_unique<DeviceContext>(
        topLevel->surface.get(), origin, WindowAreaInSurface(hwnd), hwnd));
    RECT outer{0, 0, width, height};
    if ((record->style & WS_BORDER) != 0) {
        FillFrameRect(context, RECT{0, 0, width, 1}, COLOR_WINDOWFRAME);
        FillFrameRect(context, RECT{0, height - 1, width, height}, COLOR_WINDOWFRAME);
        FillFrameRect(context, RECT{0, 0, 1, height}, COLOR_WINDOWFRAME);
        FillFrameRect(context, RECT{width - 1, 0, width, height}, COLOR_WINDOWFRAME);
        InflateRect(&outer, -1, -1);
    }
    if ((record->style & WS_CAPTION) == WS_CAPTION) {
        DrawCaption(context, *record, Focus().active == hwnd);
    }
    // The rest between outer edge and client area: a sunken client edge, or the face colour.
    RECT remaining{};
    for (const RECT& band : {RECT{outer.left, client.top, client.left, client.bottom},
                             RECT{client.right, client.top, outer.right, client.bottom},
                             RECT{outer.left, client.bottom, outer.right, outer.bottom}}) {
        if (IntersectRect(&remaining, &band, &outer)) {
            FillFrameRect(context, remaining,
                          (record->exStyle & WS_EX_CLIENTEDGE) ? COLOR_BTNSHADOW : COLOR_BTNFACE);
        }
    }
    if ((record->style & WS_VSCROLL) != 0) DrawVerticalScrollBar(context, *record);
    ReleaseDC(hwnd, context);  // shows what was drawn
}

}  // namespace

HWND NextWindowToPaint() {
    for (HWND hwnd : WindowsInPaintOrder()) {
        const WindowRecord* record = FindWindowRecord(hwnd);
        if (record == nullptr || !IsShown(hwnd)) continue;
        PaintFrameIfDirty(hwnd);
        record = FindWindowRecord(hwnd);
        if (record != nullptr && record->hasUpdate) return hwnd;
    }
    return nullptr;
}

void InvalidateWholeWindow(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    record->frameDirty = true;
    InvalidateRect(hwnd, nullptr, TRUE);
}

void InvalidateFrame(HWND hwnd) {
    if (WindowRecord* record = FindWindowRecord(hwnd)) record->frameDirty = true;
}

void PaintFrameIfDirty(HWND hwnd) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || !record->frameDirty || !IsShown(hwnd)) return;
    record->frameDirty = false;
    PaintFrame(hwnd);
}

void DeliverPaint(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    const unsigned paintsBefore = record->paintCount;
    DeliverMessage(hwnd, WM_PAINT, 0, 0);
    WindowRecord* after = FindWindowRecord(hwnd);
    if (after != nullptr && after->paintCount == paintsBefore) {
        after->hasUpdate = false;
        after->update = RECT{};
        after->eraseUpdate = false;
    }
}

void AddPresentDirty(HWND topLevel, const RECT& area) {
    WindowRecord* record = FindWindowRecord(topLevel);
    if (record == nullptr) return;
    UnionRect(&record->presentDirty, &record->presentDirty, &area);
}

void PresentDirtyWindows() {
    for (HWND hwnd : TopLevelWindows()) {
        WindowRecord* record = FindWindowRecord(hwnd);
        if (record == nullptr || IsRectEmpty(&record->presentDirty)) continue;
        const RECT dirty = record->presentDirty;
        record->presentDirty = RECT{};
        if (IsShown(hwnd) && record->surface) CurrentBackend()->Present(hwnd, dirty);
    }
}

void ResizeSurface(WindowRecord& record) {
    const int width = record.rect.right - record.rect.left;
    const int height = record.rect.bottom - record.rect.top;
    std::optional<Surface> resized = Surface::CreateBlack(width, height);
    if (!resized) {
        // Too small or too large to show: the window keeps no picture.
        if (record.surface) *record.surface = std::move(*Surface::Create(1, 1));
        return;
    }
    // A shown window is painted whole at its new size; a hidden one maps its pages when shown.
    if ((record.style & WS_VISIBLE) != 0) resized->MapPagesForWriting();
    if (record.surface) {
        // The surface object stays where it is, so contexts that point at it stay valid.
        *record.surface = std::move(*resized);
    } else {
        record.surface = std::make_unique<Surface>(std::move(*resized));
    }
    record.frameDirty = true;
}

}  // namespace platform

using platform::FindWindowRecord;
using platform::WindowRecord;

namespace platform {
namespace {

// Marks `area` (client coordinates, already clipped to the client area) of the window and of the
// children it covers for repainting.
void MarkForRepaint(WindowRecord& record, const RECT& area, BOOL erase) {
    UnionRect(&record.update, &record.update, &area);
    record.hasUpdate = true;
    record.eraseUpdate = record.eraseUpdate || erase;
    // Painting the parent covers its children, so they are painted again after it.
    for (HWND child : record.children) {
        WindowRecord* childRecord = FindWindowRecord(child);
        if (childRecord == nullptr || (childRecord->style & WS_VISIBLE) == 0) continue;
        RECT overlap{};
        if (!IntersectRect(&overlap, &area, &childRecord->rect)) continue;
        const RECT childClient = ClientAreaInWindow(*childRecord);
        OffsetRect(&overlap, -childRecord->rect.left - childClient.left,
                   -childRecord->rect.top - childClient.top);
        RECT childArea{0, 0, childClient.right - childClient.left,
                       childClient.bottom - childClient.top};
        childRecord->frameDirty = true;
        if (IntersectRect(&childArea, &childArea, &overlap)) {
            MarkForRepaint(*childRecord, childArea, erase);
        }
    }
}

// Windows are not clipped by their siblings: a window that paints covers the later siblings of
// itself and of its ancestors (a pop-up list over a dialog's controls) where they overlap, so
// those are painted again after it.
void MarkWindowsAbove(const WindowRecord& record, const RECT& area, BOOL erase) {
    const WindowRecord* level = &record;
    RECT covered = area;  // in `level`'s client coordinates
    while (const WindowRecord* parent = FindWindowRecord(level->parent)) {
        const RECT levelClient = ClientAreaInWindow(*level);
        OffsetRect(&covered, level->rect.left + levelClient.left,
                   level->rect.top + levelClient.top);
        RECT parentArea{};
        GetClientRect(parent->handle, &parentArea);
        if (!IntersectRect(&covered, &covered, &parentArea)) return;
        auto self = std::find(parent->children.begin(), parent->children.end(), level->handle);
        for (auto above = self == parent->children.end() ? self : self + 1;
             above != parent->children.end(); ++above) {
            WindowRecord* sibling = FindWindowRecord(*above);
            RECT overlap{};
            if (sibling == nullptr || (sibling->style & WS_VISIBLE) == 0 ||
                !IntersectRect(&overlap, &covered, &sibling->rect)) {
                continue;
            }
            const RECT siblingClient = ClientAreaInWindow(*sibling);
            OffsetRect(&overlap, -sibling->rect.left - siblingClient.left,
                       -sibling->rect.top - siblingClient.top);
            RECT siblingArea{0, 0, siblingClient.right - siblingClient.left,
                             siblingClient.bottom - siblingClient.top};
            sibling->frameDirty = true;
            if (IntersectRect(&siblingArea, &siblingArea, &overlap)) {
                MarkForRepaint(*sibling, siblingArea, erase);
            }
        }
        level = parent;
    }
}

}  // namespace
}  // namespace platform

BOOL InvalidateRect(HWND hwnd, const RECT* rect, BOOL erase) {
    if (hwnd == nullptr) {
        for (HWND topLevel : platform::TopLevelWindows()) InvalidateRect(topLevel, nullptr, erase);
        return TRUE;
    }
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    RECT client{};
    GetClientRect(hwnd, &client);
    RECT area = client;
    if (rect != nullptr && !IntersectRect(&area, rect, &client)) return TRUE;
    if (IsRectEmpty(&area)) return TRUE;
    platform::MarkForRepaint(*record, area, erase);
    platform::MarkWindowsAbove(*record, area, erase);
    return TRUE;
}

BOOL ValidateRect(HWND hwnd, const RECT* rect) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    // The update area is kept as one rectangle; validating part of it validates it only when
    // the part covers it.
    if (rect == nullptr) {
        record->hasUpdate = false;
        record->update = RECT{};
        record->eraseUpdate = false;
        return TRUE;
    }
    RECT covered{};
    if (UnionRect(&covered, rect, &record->update) && EqualRect(&covered, rect)) {
        record->hasUpdate = false;
        record->update = RECT{};
        record->eraseUpdate = false;
    }
    return TRUE;
}

BOOL GetUpdateRect(HWND hwnd, RECT* rect, BOOL /*erase*/) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    if (rect != nullptr) *rect = record->hasUpdate ? record->update : RECT{};
    return record->hasUpdate ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return FALSE;
    platform::PaintFrameIfDirty(hwnd);
    record = FindWindowRecord(hwnd);
    if (record != nullptr && record->hasUpdate && platform::IsShown(hwnd)) {
        platform::DeliverPaint(hwnd);
    }
    return TRUE;
}

BOOL RedrawWindow(HWND hwnd, const RECT* rect, void* /*region*/, UINT flags) {
    if (FindWindowRecord(hwnd) == nullptr) return FALSE;
    if ((flags & RDW_INVALIDATE) != 0) {
        InvalidateRect(hwnd, rect, (flags & RDW_ERASE) != 0 ? TRUE : FALSE);
    }
    if ((flags & RDW_VALIDATE) != 0) ValidateRect(hwnd, rect);
    if ((flags & RDW_UPDATENOW) != 0) {
        // The window and then its children, as a paint cycle would do it.
        std::vector<HWND> order;
        for (HWND candidate : platform::WindowsInPaintOrder()) {
            if (platform::IsDescendantOf(candidate, hwnd)) order.push_back(candidate);
        }
        for (HWND candidate : order) UpdateWindow(candidate);
    }
    return TRUE;
}

HDC BeginPaint(HWND hwnd, PAINTSTRUCT* paint) {
    WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || paint == nullptr) return nullptr;
    auto context = platform::ClientContext(hwnd);
    const RECT update = record->hasUpdate ? record->update : RECT{};
    const RECT deviceUpdate = context->ToDevice(update);
    context->LimitClip(deviceUpdate);
    const bool erase = record->eraseUpdate;
    ++record->paintCount;
    record->hasUpdate = false;
    record->update = RECT{};
    record->eraseUpdate = false;
    HDC hdc = platform::AdoptDeviceContext(std::move(context));
    paint->hdc = hdc;
    paint->rcPaint = update;
    paint->fErase = FALSE;
    if (erase) {
        paint->fErase =
            platform::DeliverMessage(hwnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(hdc), 0) == 0
                ? TRUE
                : FALSE;
    }
    return hdc;
}

BOOL EndPaint(HWND /*hwnd*/, const PAINTSTRUCT* paint) {
    if (paint == nullptr) return FALSE;
    return ReleaseDC(nullptr, paint->hdc) != 0 ? TRUE : FALSE;
}

HDC GetDC(HWND hwnd) {
    if (hwnd == nullptr) {
        // A context for measuring only: it draws nowhere.
        return platform::AdoptDeviceContext(
            std::make_unique<platform::DeviceContext>(nullptr, POINT{}, RECT{}, nullptr));
    }
    if (FindWindowRecord(hwnd) == nullptr) return nullptr;
    return platform::AdoptDeviceContext(platform::ClientContext(hwnd));
}

int ReleaseDC(HWND /*hwnd*/, HDC hdc) {
    platform::DeviceContext* context = platform::FindDeviceContext(hdc);
    if (context == nullptr || context->IsMemory()) return 0;
    if (context->Window() != nullptr) {
        platform::AddPresentDirty(platform::TopLevelOf(context->Window()), context->DeviceClip());
    }
    platform::DestroyDeviceContext(hdc);
    return 1;
}

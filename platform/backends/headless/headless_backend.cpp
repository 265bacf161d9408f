#include "platform/backends/headless/headless_backend.h"

#include "platform/graphics/gdi.h"
#include "platform/graphics/png_io.h"
#include "platform/windows/window_tree.h"

namespace platform {

HeadlessBackend::HeadlessBackend(const DisplayInfo& display) { SetCurrentDisplay(display); }

void HeadlessBackend::Present(HWND /*window*/, const RECT& /*dirty*/) { ++presentCount; }

bool HeadlessBackend::WaitForEvents(int timeoutMs) {
    if (onIdle) return onIdle();
    if (timeoutMs < 0) return false;
    AdvanceClock(static_cast<std::uint32_t>(timeoutMs));
    return true;
}

std::optional<int> HeadlessBackend::MessageBoxOpened(HWND box, const std::wstring& text,
                                                     const std::wstring& caption, UINT type) {
    const WindowRecord* record = FindWindowRecord(box);
    messageBoxes.push_back(
        RecordedMessageBox{box, record != nullptr ? record->owner : nullptr, text, caption, type});
    if (!answerMessageBoxes) return std::nullopt;
    return messageBoxAnswer;
}

HeadlessBackend& InstallHeadlessBackend(const DisplayInfo& display) {
    auto backend = std::make_unique<HeadlessBackend>(display);
    HeadlessBackend& reference = *backend;
    InstallBackend(std::move(backend));
    return reference;
}

COLORREF ReadWindowPixel(HWND hwnd, int x, int y) {
    const WindowRecord* topLevel = FindWindowRecord(TopLevelOf(hwnd));
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || topLevel == nullptr || !topLevel->surface) return CLR_INVALID;
    const POINT origin = WindowOriginInSurface(hwnd);
    const RECT client = ClientAreaInWindow(*record);
    const POINT at{origin.x + client.left + x, origin.y + client.top + y};
    const RECT visible = VisibleClientInSurface(hwnd);
    if (!PtInRect(&visible, at)) return CLR_INVALID;
    return ColorFromPixel(topLevel->surface->At(at.x, at.y));
}

COLORREF ReadWindowFramePixel(HWND hwnd, int x, int y) {
    const WindowRecord* topLevel = FindWindowRecord(TopLevelOf(hwnd));
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || topLevel == nullptr || !topLevel->surface) return CLR_INVALID;
    const POINT origin = WindowOriginInSurface(hwnd);
    const RECT window{0, 0, record->rect.right - record->rect.left,
                      record->rect.bottom - record->rect.top};
    if (!PtInRect(&window, POINT{x, y})) return CLR_INVALID;
    return ColorFromPixel(topLevel->surface->At(origin.x + x, origin.y + y));
}

std::vector<COLORREF> ReadWindowPixels(HWND hwnd) {
    const WindowRecord* topLevel = FindWindowRecord(TopLevelOf(hwnd));
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || topLevel == nullptr || !topLevel->surface) return {};
    const RECT client = ClientAreaInWindow(*record);
    const POINT origin = WindowOriginInSurface(hwnd);
    const RECT visible = VisibleClientInSurface(hwnd);
    std::vector<COLORREF> pixels;
    pixels.reserve(static_cast<std::size_t>(client.right - client.left) *
                   static_cast<std::size_t>(client.bottom - client.top));
    for (int y = client.top; y < client.bottom; ++y) {
        for (int x = client.left; x < client.right; ++x) {
            const POINT at{origin.x + x, origin.y + y};
            pixels.push_back(PtInRect(&visible, at)
                                 ? ColorFromPixel(topLevel->surface->At(at.x, at.y))
                                 : CLR_INVALID);
        }
    }
    return pixels;
}

bool SaveWindowPng(HWND hwnd, const std::string& path) {
    const WindowRecord* topLevel = FindWindowRecord(TopLevelOf(hwnd));
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr || topLevel == nullptr || !topLevel->surface) return false;
    const POINT origin = WindowOriginInSurface(hwnd);
    const RECT area{origin.x, origin.y, origin.x + record->rect.right - record->rect.left,
                    origin.y + record->rect.bottom - record->rect.top};
    return WritePng(path, *topLevel->surface, area);
}

}  // namespace platform

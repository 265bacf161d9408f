#include "platform/windows/window_tree.h"

#include <algorithm>
#include <map>
#include <unordered_map>

#include "platform/base/system_metrics.h"
#include "platform/windows/caption_layout.h"

namespace platform {
namespace {

struct WindowTable {
    std::unordered_map<HWND, std::unique_ptr<WindowRecord>> records;
    std::vector<HWND> topLevels;
    std::uintptr_t nextHandle = 0x10000;
};

WindowTable& Table() {
    static WindowTable table;
    return table;
}

void AppendInPaintOrder(HWND hwnd, std::vector<HWND>& order) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return;
    order.push_back(hwnd);
    for (HWND child : record->children) AppendInPaintOrder(child, order);
}

}  // namespace

WindowRecord* FindWindowRecord(HWND hwnd) {
    if (hwnd == nullptr) return nullptr;
    auto found = Table().records.find(hwnd);
    return found == Table().records.end() ? nullptr : found->second.get();
}

WindowRecord& NewWindowRecord() {
    // Handles count up and are never reused, so a handle kept after its window died stays
    // invalid instead of naming a newer window.
    Table().nextHandle += 4;
    auto handle = reinterpret_cast<HWND>(Table().nextHandle);  // NOLINT(performance-no-int-to-ptr)
    auto record = std::make_unique<WindowRecord>();
    record->handle = handle;
    WindowRecord& reference = *record;
    Table().records.emplace(handle, std::move(record));
    return reference;
}

void EraseWindowRecord(HWND hwnd) { Table().records.erase(hwnd); }

const std::vector<HWND>& TopLevelWindows() { return Table().topLevels; }

void AddTopLevel(HWND hwnd) { Table().topLevels.push_back(hwnd); }

void RemoveTopLevel(HWND hwnd) { std::erase(Table().topLevels, hwnd); }

std::vector<HWND> WindowsInPaintOrder() {
    std::vector<HWND> order;
    order.reserve(Table().records.size());
    for (HWND topLevel : Table().topLevels) AppendInPaintOrder(topLevel, order);
    return order;
}

bool IsTopLevel(const WindowRecord& record) { return record.parent == nullptr; }

HWND TopLevelOf(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    while (record != nullptr && record->parent != nullptr) {
        record = FindWindowRecord(record->parent);
    }
    return record != nullptr ? record->handle : nullptr;
}

RECT ClientAreaInWindow(const WindowRecord& record) {
    RECT client{0, 0, record.rect.right - record.rect.left, record.rect.bottom - record.rect.top};
    int edge = 0;
    if ((record.style & WS_CAPTION) == WS_CAPTION || (record.style & WS_BORDER) != 0) edge += 1;
    if ((record.style & WS_DLGFRAME) != 0 && (record.style & WS_CAPTION) != WS_CAPTION) {
        edge += GetSystemMetrics(SM_CXDLGFRAME);
    }
    if ((record.exStyle & WS_EX_CLIENTEDGE) != 0) edge += GetSystemMetrics(SM_CXEDGE);
    InflateRect(&client, -edge, -edge);
    client.top += CaptionHeight(record);
    if ((record.style & WS_VSCROLL) != 0) client.right -= GetSystemMetrics(SM_CXVSCROLL);
    if ((record.style & WS_HSCROLL) != 0) client.bottom -= GetSystemMetrics(SM_CYHSCROLL);
    client.right = std::max(client.right, client.left);
    client.bottom = std::max(client.bottom, client.top);
    return client;
}

int BottomBarHeight(const WindowRecord& record) {
    const WindowRecord* bar = FindWindowRecord(record.bottomBar);
    if (bar == nullptr || bar->parent != record.handle || (bar->style & WS_VISIBLE) == 0) return 0;
    return bar->rect.bottom - bar->rect.top;
}

POINT WindowOriginInSurface(HWND hwnd) {
    POINT origin{0, 0};
    const WindowRecord* record = FindWindowRecord(hwnd);
    while (record != nullptr && record->parent != nullptr) {
        const WindowRecord* parent = FindWindowRecord(record->parent);
        if (parent == nullptr) break;
        const RECT parentClient = ClientAreaInWindow(*parent);
        origin.x += record->rect.left + parentClient.left;
        origin.y += record->rect.top + parentClient.top;
        record = parent;
    }
    return origin;
}

RECT VisibleClientInSurface(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) return RECT{};
    const POINT origin = WindowOriginInSurface(hwnd);
    RECT visible = ClientAreaInWindow(*record);
    OffsetRect(&visible, origin.x, origin.y);
    for (const WindowRecord* ancestor = FindWindowRecord(record->parent); ancestor != nullptr;
         ancestor = FindWindowRecord(ancestor->parent)) {
        RECT ancestorClient = ClientAreaInWindow(*ancestor);
        const POINT ancestorOrigin = WindowOriginInSurface(ancestor->handle);
        OffsetRect(&ancestorClient, ancestorOrigin.x, ancestorOrigin.y);
        if (!IntersectRect(&visible, &visible, &ancestorClient)) return RECT{};
    }
    return visible;
}

POINT ClientOriginOnScreen(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    const WindowRecord* topLevel = FindWindowRecord(TopLevelOf(hwnd));
    if (record == nullptr || topLevel == nullptr) return POINT{};
    const POINT origin = WindowOriginInSurface(hwnd);
    const RECT client = ClientAreaInWindow(*record);
    return POINT{topLevel->rect.left + origin.x + client.left,
                 topLevel->rect.top + origin.y + client.top};
}

bool IsShown(HWND hwnd) {
    for (const WindowRecord* record = FindWindowRecord(hwnd); record != nullptr;
         record = FindWindowRecord(record->parent)) {
        if ((record->style & WS_VISIBLE) == 0) return false;
        if (record->parent == nullptr) return true;
    }
    return false;
}

bool NeedsScreenWindow(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    return record != nullptr && IsShown(hwnd) && record->rect.right > record->rect.left &&
           record->rect.bottom > record->rect.top;
}

bool IsEnabledForInput(HWND hwnd) {
    for (const WindowRecord* record = FindWindowRecord(hwnd); record != nullptr;
         record = FindWindowRecord(record->parent)) {
        if ((record->style & WS_DISABLED) != 0) return false;
    }
    return hwnd != nullptr;
}

bool IsDescendantOf(HWND hwnd, HWND ancestor) {
    for (const WindowRecord* record = FindWindowRecord(hwnd); record != nullptr;
         record = FindWindowRecord(record->parent)) {
        if (record->handle == ancestor) return true;
    }
    return false;
}

}  // namespace platform

// Keeping one borderless SDL window per shown top-level window in line with the window's record.
#include "platform/backends/sdl/sdl_window_table.h"

#include <SDL.h>
#include <SDL_syswm.h>

#include <cstring>

#include "platform/backends/sdl/sdl_window_icon.h"
#include "platform/base/text_encoding.h"
#include "platform/windows/window_tree.h"

namespace platform {
namespace {

// A launcher is a popup over everything; other top-level windows stack as the desktop decides,
// unless they ask to stay on top.
bool WantsAlwaysOnTop(const WindowRecord& record) {
    return (record.style & WS_POPUP) != 0 || (record.exStyle & WS_EX_TOPMOST) != 0;
}

SdlWindowPointer CreateSdlWindow(const WindowRecord& record, const std::string& title) {
    Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS;
    if (WantsAlwaysOnTop(record)) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    SDL_Window* window = SDL_CreateWindow(title.c_str(), record.rect.left, record.rect.top,
                                          record.rect.right - record.rect.left,
                                          record.rect.bottom - record.rect.top, flags);
    if (window == nullptr) SDL_Log("cannot create a window: %s", SDL_GetError());
    return SdlWindowPointer(window);
}

// On Wayland the picture goes through wl_shm buffers of our own instead of SDL's OpenGL textures.
std::unique_ptr<WaylandShmPresenter> MakeWaylandPresenter(SDL_Window* window) {
    const char* driver = SDL_GetCurrentVideoDriver();
    if (driver == nullptr || std::strcmp(driver, "wayland") != 0) return nullptr;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (SDL_GetWindowWMInfo(window, &info) != SDL_TRUE || info.subsystem != SDL_SYSWM_WAYLAND) {
        return nullptr;
    }
    std::unique_ptr<WaylandShmPresenter> presenter =
        WaylandShmPresenter::Create(info.info.wl.display, info.info.wl.surface);
    if (!presenter) SDL_Log("no wl_shm on this compositor: windows are shown through SDL");
    return presenter;
}

}  // namespace

void SdlWindowTable::Sync(HWND hwnd) {
    const WindowRecord* record = FindWindowRecord(hwnd);
    if (record == nullptr) {
        Remove(hwnd);
        return;
    }
    const int width = record->rect.right - record->rect.left;
    const int height = record->rect.bottom - record->rect.top;
    const bool show = NeedsScreenWindow(hwnd);
    auto found = entries_.find(hwnd);
    if (found == entries_.end()) {
        if (!show) return;
        Entry entry;
        entry.title = Utf8FromWide(record->text);
        entry.window = CreateSdlWindow(*record, entry.title);
        if (!entry.window) return;
        entry.alwaysOnTop = WantsAlwaysOnTop(*record);
        entry.wayland = MakeWaylandPresenter(entry.window.get());
        found = entries_.emplace(hwnd, std::move(entry)).first;
    }
    Entry& entry = found->second;
    SDL_Window* window = entry.window.get();

    if (std::string title = Utf8FromWide(record->text); title != entry.title) {
        SDL_SetWindowTitle(window, title.c_str());
        entry.title = std::move(title);
    }
    if (HICON icon = record->bigIcon != nullptr ? record->bigIcon : record->smallIcon;
        icon != entry.icon) {
        SetSdlWindowIcon(window, icon);
        entry.icon = icon;
    }
    if (const bool onTop = WantsAlwaysOnTop(*record); onTop != entry.alwaysOnTop) {
        SDL_SetWindowAlwaysOnTop(window, onTop ? SDL_TRUE : SDL_FALSE);
        entry.alwaysOnTop = onTop;
    }
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window, &x, &y);
    if (x != record->rect.left || y != record->rect.top) {
        SDL_SetWindowPosition(window, record->rect.left, record->rect.top);
    }
    if (width > 0 && height > 0) {
        int currentWidth = 0;
        int currentHeight = 0;
        SDL_GetWindowSize(window, &currentWidth, &currentHeight);
        if (currentWidth != width || currentHeight != height) {
            SDL_SetWindowSize(window, width, height);
            entry.needsFullPresent = true;
        }
    }
    if (show && !entry.shown) {
        SDL_ShowWindow(window);
        entry.needsFullPresent = true;
    } else if (!show && entry.shown) {
        SDL_HideWindow(window);
    }
    entry.shown = show;
}

void SdlWindowTable::Remove(HWND hwnd) { entries_.erase(hwnd); }

SDL_Window* SdlWindowTable::Find(HWND hwnd) const {
    const auto found = entries_.find(hwnd);
    return found != entries_.end() ? found->second.window.get() : nullptr;
}

WaylandShmPresenter* SdlWindowTable::WaylandPresenterOf(HWND hwnd) const {
    const auto found = entries_.find(hwnd);
    return found != entries_.end() ? found->second.wayland.get() : nullptr;
}

std::vector<HWND> SdlWindowTable::Windows() const {
    std::vector<HWND> windows;
    for (const auto& [hwnd, entry] : entries_) windows.push_back(hwnd);
    return windows;
}

SDL_Window* SdlWindowTable::AnyWindow() const {
    return entries_.empty() ? nullptr : entries_.begin()->second.window.get();
}

HWND SdlWindowTable::OwnerOf(std::uint32_t sdlWindowId) const {
    if (sdlWindowId == 0) return nullptr;
    for (const auto& [hwnd, entry] : entries_) {
        if (SDL_GetWindowID(entry.window.get()) == sdlWindowId) return hwnd;
    }
    return nullptr;
}

void SdlWindowTable::RequestFullPresent(HWND hwnd) {
    if (auto found = entries_.find(hwnd); found != entries_.end()) {
        found->second.needsFullPresent = true;
    }
}

std::vector<HWND> SdlWindowTable::WindowsWaitingForFullPresent() const {
    std::vector<HWND> waiting;
    for (const auto& [hwnd, entry] : entries_) {
        if (entry.needsFullPresent && entry.shown) waiting.push_back(hwnd);
    }
    return waiting;
}

bool SdlWindowTable::TakeFullPresent(HWND hwnd, const void* target) {
    const auto found = entries_.find(hwnd);
    if (found == entries_.end()) return false;
    Entry& entry = found->second;
    const bool full = entry.needsFullPresent || entry.lastTarget != target;
    entry.needsFullPresent = false;
    entry.lastTarget = target;
    return full;
}

}  // namespace platform

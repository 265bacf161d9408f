#include "platform/windows/menus.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

struct MenuEntry {
    UINT id = 0;
    std::wstring text;
};

struct MenuTable {
    std::unordered_map<HMENU, std::vector<MenuEntry>> menus;
    std::uintptr_t nextHandle = 0x20000;
};

MenuTable& Table() {
    static MenuTable table;
    return table;
}

std::vector<MenuEntry>* FindMenu(HMENU menu) {
    if (menu == nullptr) return nullptr;
    auto found = Table().menus.find(menu);
    return found == Table().menus.end() ? nullptr : &found->second;
}

const MenuEntry* FindEntry(HMENU menu, UINT item, UINT flags) {
    const std::vector<MenuEntry>* entries = FindMenu(menu);
    if (entries == nullptr) return nullptr;
    if ((flags & MF_BYPOSITION) != 0) {
        return item < entries->size() ? &(*entries)[item] : nullptr;
    }
    auto found = std::ranges::find(*entries, item, &MenuEntry::id);
    return found == entries->end() ? nullptr : &*found;
}

}  // namespace

HMENU CreateMenu() {
    // Handles count up and are never reused, so a kept handle of a destroyed menu stays invalid;
    // they stay small numbers, as the shell's menu bar takes one in a 32-bit identifier field.
    Table().nextHandle += 4;
    auto handle = reinterpret_cast<HMENU>(Table().nextHandle);  // NOLINT(performance-no-int-to-ptr)
    Table().menus.emplace(handle, std::vector<MenuEntry>{});
    return handle;
}

BOOL DestroyMenu(HMENU menu) { return Table().menus.erase(menu) != 0 ? TRUE : FALSE; }

BOOL IsMenu(HMENU menu) { return FindMenu(menu) != nullptr ? TRUE : FALSE; }

BOOL AppendMenu(HMENU menu, UINT flags, UINT_PTR id, const wchar_t* text) {
    std::vector<MenuEntry>* entries = FindMenu(menu);
    if (entries == nullptr || flags != MF_STRING || text == nullptr) {
        return FALSE;
    }
    entries->push_back(MenuEntry{static_cast<UINT>(id), text});
    return TRUE;
}

int GetMenuItemCount(HMENU menu) {
    const std::vector<MenuEntry>* entries = FindMenu(menu);
    return entries != nullptr ? static_cast<int>(entries->size()) : -1;
}

UINT GetMenuItemID(HMENU menu, int position) {
    if (position < 0) return static_cast<UINT>(-1);
    const MenuEntry* entry = FindEntry(menu, static_cast<UINT>(position), MF_BYPOSITION);
    return entry != nullptr ? entry->id : static_cast<UINT>(-1);
}

int GetMenuString(HMENU menu, UINT item, wchar_t* buffer, int bufferLength, UINT flags) {
    const MenuEntry* entry = FindEntry(menu, item, flags);
    if (entry == nullptr) return 0;
    const int length = static_cast<int>(entry->text.size());
    if (buffer == nullptr) return length;
    if (bufferLength <= 0) return 0;
    const int copied = std::min(length, bufferLength - 1);
    std::copy_n(entry->text.data(), copied, buffer);
    buffer[copied] = L'\0';
    return copied;
}

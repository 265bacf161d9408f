// Resources compiled into a program: dialog templates, icon groups and named values, registered
// by the program's resource files at start-up and found by identifier.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/base/win_types.h"

namespace platform {

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0;  // position and size in dialog units
    short y = 0;
    short cx = 0;
    short cy = 0;
    std::wstring caption;
    std::wstring fontFace;  // with DS_SETFONT
    int fontPointSize = 8;
};

// One image of an icon group: straight RGBA, 0xAARRGGBB, row by row.
struct IconGroupImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

void RegisterDialogTemplate(UINT id, DialogTemplate dialogTemplate);
const DialogTemplate* FindDialogTemplate(UINT id);
void RegisterIconGroup(UINT id, std::vector<IconGroupImage> images);
const std::vector<IconGroupImage>* FindIconGroup(UINT id);
// A value resource of a type and a name (such as a marker that the program draws for
// high-density screens itself).
void RegisterValueResource(const std::wstring& type, const std::wstring& name, std::uint32_t value);
bool FindValueResource(const std::wstring& type, const std::wstring& name, std::uint32_t* value);

// Registers resources from a static object in a program's resource file.
struct ResourceRegistration {
    explicit ResourceRegistration(void (*registerAll)()) { registerAll(); }
};

}  // namespace platform

// An icon of the group, at the size closest to the large system icon; null when there is none.
HICON LoadIcon(HINSTANCE instance, UINT id);

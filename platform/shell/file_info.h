// The shell's file information call: the icon of a file, program, folder or web address, found
// the freedesktop way (desktop entries, icon theme, generic icons by type).
#pragma once

#include <cstdint>

#include "platform/graphics/gdi.h"

using DWORD_PTR = std::uintptr_t;

constexpr UINT SHGFI_LARGEICON = 0x0;
constexpr UINT SHGFI_SMALLICON = 0x1;
constexpr UINT SHGFI_ICON = 0x100;

struct SHFILEINFO {
    HICON hIcon = nullptr;
    int iIcon = 0;
    DWORD dwAttributes = 0;
    wchar_t szDisplayName[260] = {};
    wchar_t szTypeName[80] = {};
};
using SHFILEINFOW = SHFILEINFO;

// With SHGFI_ICON: the large icon (SM_CXICON), or with SHGFI_SMALLICON the small one
// (SM_CXSMICON), in info->hIcon, which the caller destroys with DestroyIcon. Returns nonzero
// when an icon was found; 0 with a null hIcon when the path neither exists nor is a web address,
// or nothing anywhere gives it an icon. Without SHGFI_ICON: nonzero when the path exists.
// `fileAttributes` is not used. Call from the thread that draws.
DWORD_PTR SHGetFileInfo(const wchar_t* path, DWORD fileAttributes, SHFILEINFO* info, UINT infoSize,
                        UINT flags);
inline DWORD_PTR SHGetFileInfoW(const wchar_t* path, DWORD fileAttributes, SHFILEINFO* info,
                                UINT infoSize, UINT flags) {
    return SHGetFileInfo(path, fileAttributes, info, infoSize, flags);
}

namespace platform {

// Forgets every cached lookup (icon themes, desktop entries, results per path); the XDG
// variables are read again on the next lookup. For tests that build their own trees.
void ResetIconLookupCaches();

}  // namespace platform

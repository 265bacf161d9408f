// EnumFontFamilies: the installed families, as the window system's font enumeration.
#include <algorithm>
#include <cwctype>
#include <string>

#include "platform/graphics/font_families.h"
#include "platform/graphics/gdi.h"

namespace {

bool SameFamilyName(const std::wstring& left, const wchar_t* right) {
    const std::wstring other(right);
    return std::equal(left.begin(), left.end(), other.begin(), other.end(),
                      [](wchar_t a, wchar_t b) { return std::towlower(a) == std::towlower(b); });
}

}  // namespace

int EnumFontFamilies(HDC /*hdc*/, const wchar_t* family, FONTENUMPROC callback, LPARAM data) {
    if (callback == nullptr) return 0;
    int answer = 1;
    for (const std::wstring& name : platform::InstalledFontFamilies()) {
        if (family != nullptr && *family != L'\0' && !SameFamilyName(name, family)) continue;
        LOGFONT logFont;
        const std::size_t length = std::min<std::size_t>(name.size(), LF_FACESIZE - 1);
        std::copy_n(name.begin(), length, logFont.lfFaceName);
        logFont.lfFaceName[length] = L'\0';
        const TEXTMETRIC metrics;
        answer = callback(&logFont, &metrics, TRUETYPE_FONTTYPE, data);
        if (answer == 0) break;
    }
    return answer;
}

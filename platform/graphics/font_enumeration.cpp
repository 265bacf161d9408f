// EnumFontFamilies: the installed families, as the window system's font enumeration.
#include <algorithm>
#include <cwctype>
#include <string>
#include <string_view>

#include "platform/graphics/font_families.h"
#include "platform/graphics/gdi.h"

namespace {

// A LOGFONT holds at most LF_FACESIZE - 1 characters of a face name.
std::wstring_view FaceName(const std::wstring& family) {
    return std::wstring_view(family).substr(0, LF_FACESIZE - 1);
}

bool SameIgnoringCase(std::wstring_view left, std::wstring_view right) {
    return std::equal(
        left.begin(), left.end(), right.begin(), right.end(), [](wchar_t a, wchar_t b) {
            return std::towlower(static_cast<wint_t>(a)) == std::towlower(static_cast<wint_t>(b));
        });
}

// A family answers to its full name and to the face name an enumeration handed out for it.
bool IsNamed(const std::wstring& family, std::wstring_view name) {
    return SameIgnoringCase(family, name) || SameIgnoringCase(FaceName(family), name);
}

}  // namespace

int EnumFontFamilies(HDC /*hdc*/, const wchar_t* family, FONTENUMPROC callback, LPARAM data) {
    if (callback == nullptr) return 0;
    const bool everyFamily = family == nullptr || *family == L'\0';
    // Asked again on every call: the list is quick to get even with thousands of families, and
    // fonts installed while the program runs show up.
    const std::vector<std::wstring> families = platform::InstalledFontFamilies();
    int answer = 1;
    std::wstring_view previous;
    for (const std::wstring& name : families) {
        if (!everyFamily && !IsNamed(name, family)) continue;
        // Families whose names differ only past the face-name length would look alike: once.
        // (Sorted, they are neighbours.)
        const std::wstring_view face = FaceName(name);
        if (!previous.empty() && face == previous) continue;
        previous = face;
        LOGFONT logFont;
        std::copy(face.begin(), face.end(), logFont.lfFaceName);
        logFont.lfFaceName[face.size()] = L'\0';
        const TEXTMETRIC metrics;
        answer = callback(&logFont, &metrics, TRUETYPE_FONTTYPE, data);
        if (answer == 0) break;
    }
    return answer;
}

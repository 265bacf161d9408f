#include "settings/font_description.h"

#include <algorithm>
#include <climits>
#include <cwchar>

namespace {

// Pitch-and-family value of a proportional face without serifs.
constexpr BYTE kSwissFamily = 32;

}  // namespace

namespace settings {

LOGFONT FontDescription(const std::wstring& faceName, int height, bool bold, bool italic) {
    LOGFONT logFont{};
    logFont.lfHeight = height;
    logFont.lfWidth = 0;
    logFont.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    logFont.lfItalic = italic ? 1 : 0;
    logFont.lfCharSet = 0;
    logFont.lfPitchAndFamily = kSwissFamily;
    const std::size_t length = std::min<std::size_t>(faceName.size(), LF_FACESIZE - 1);
    std::copy_n(faceName.begin(), length, logFont.lfFaceName);
    logFont.lfFaceName[length] = L'\0';
    return logFont;
}

int ParseFontSize(const std::wstring& text) {
    const long long number = std::wcstoll(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(number, INT_MIN, INT_MAX));
}

}  // namespace settings

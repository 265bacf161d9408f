// Line layout for DrawText: mnemonic prefixes, line breaks, word wrapping, tab stops and end
// ellipses, measured in a face's whole-pixel advances.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/graphics/font_face.h"
#include "platform/graphics/gdi.h"

namespace platform {

struct LaidOutCharacter {
    char32_t codePoint = 0;
    int advance = 0;
    bool underlined = false;  // followed a '&' prefix
};

struct LaidOutLine {
    std::size_t begin = 0;  // range in TextLayout::characters
    std::size_t end = 0;
    std::int64_t width = 0;  // including the ellipsis
    bool ellipsis = false;   // "..." follows the characters
};

struct TextLayout {
    std::vector<LaidOutCharacter> characters;
    std::vector<LaidOutLine> lines;
    std::int64_t widest = 0;
    int periodAdvance = 0;  // one '.' of the ellipsis
};

// Characters that take up room but draw no glyph.
constexpr bool IsBlankCharacter(char32_t codePoint) { return codePoint == U'\t'; }

// Lays `text` out as DrawText would for `format` in a rectangle `width` pixels wide. The vectors
// of `layout` are reused, so that drawing the same text every frame does not allocate.
void LayOutText(FontFace& face, std::wstring_view text, UINT format, std::int64_t width,
                TextLayout& layout);

}  // namespace platform

// Finding font files through fontconfig: the best file for a family, weight and slant, and a file
// that has a given character when the chosen one lacks it.
#pragma once

#include <compare>
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/text_encoding.h"

namespace platform {

struct FontStyle {
    std::string family;  // UTF-8; empty asks for the system's sans-serif face
    int weight = 400;    // OpenType scale, 1 to 1000
    bool italic = false;

    auto operator<=>(const FontStyle&) const = default;
};

struct FontFileChoice {
    std::string path;
    int index = 0;          // face within the file (collections, named instances)
    bool embolden = false;  // the file is lighter than asked for: thicken the outlines
    bool oblique = false;   // the file is upright but italic was asked for: slant the outlines

    auto operator<=>(const FontFileChoice&) const = default;
};

// Returns once fontconfig has its configuration, where start-up began reading it on another
// thread: call it before any other question to fontconfig.
void AwaitFontconfig();

// Fontconfig's best file for the style; a family that is not installed gives its substitute.
// Empty only when no usable font is installed at all.
std::optional<FontFileChoice> MatchFontFile(const FontStyle& style);
// The best file for the style among those that have the character; empty when no installed font
// has it.
std::optional<FontFileChoice> MatchFontFileWithCharacter(const FontStyle& style,
                                                         char32_t codePoint);

// A Unicode scalar value: at most 0x10FFFF and not a surrogate.
constexpr bool IsUnicodeScalar(char32_t codePoint) {
    return codePoint <= 0x10FFFF && (codePoint < 0xD800 || codePoint > 0xDFFF);
}

}  // namespace platform

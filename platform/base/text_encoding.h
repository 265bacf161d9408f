// Conversion between wide text (one code point per wchar_t) and UTF-8, the encoding of files,
// paths and libraries on this platform. Invalid input never fails: bad bytes become U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace platform {

constexpr wchar_t kReplacementCharacter = 0xFFFD;

std::wstring WideFromUtf8(std::string_view utf8);
// Code points that cannot be encoded (surrogates, values beyond U+10FFFF) become U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace platform

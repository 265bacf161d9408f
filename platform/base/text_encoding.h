// Conversion between wide text (one code point per wchar_t) and UTF-8, the encoding of files,
// paths and libraries on this platform. Bytes that are not UTF-8 pass through unchanged: each
// becomes a character of a reserved range (U+DC80 to U+DCFF, lone surrogates that no decoded text
// holds) and turns back into the same byte, so that a file name in any encoding reaches the file
// system as it was. Drawn text shows those characters as U+FFFD.
#pragma once

#include <string>
#include <string_view>

namespace platform {

constexpr wchar_t kReplacementCharacter = 0xFFFD;

// The character that carries byte 0x80 to 0xFF of text that is not UTF-8, and the test for it.
constexpr wchar_t EscapedByte(unsigned char byte) { return static_cast<wchar_t>(0xDC00 + byte); }
constexpr bool IsEscapedByte(char32_t character) {
    return character >= 0xDC80 && character <= 0xDCFF;
}

// Never fails: every byte of a sequence that is not UTF-8 (cut short, overlong, a surrogate or
// beyond U+10FFFF) becomes an escaped byte.
std::wstring WideFromUtf8(std::string_view utf8);
// True when every byte sequence is a UTF-8 character, by the rules WideFromUtf8 decodes with.
bool IsUtf8(std::string_view text);
// Escaped bytes become their byte again; other code points that cannot be encoded (surrogates,
// values beyond U+10FFFF) become U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace platform
